#pragma once

#include <QDate>
#include <QPair>
#include <QString>
#include <QVector>
#include <functional>

#include "catalogue/AccountSetList.h"
#include "catalogue/ListGrid.h"

namespace ztgl {

// The rules of the record window frmCZRZ: the record of changes in a read-only grid, newest
// first, filtered by set and by date, and its two buttons command1: 0 "关闭(&Q)", 1 "查询(&F)".
class ChangeLogList {
public:
    enum Column {
        ColTime = 0,
        ColOperator,
        ColWorkstation,
        ColAction,
        ColSetId,
        ColSetName,
        ColOutcome,
        ColDetail
    };
    static const QString kFormatString;
    static constexpr int kButtonCount = 2;
    // The widest a column grows to show its texts (twips); longer texts are cut at its edge.
    static constexpr int kMaxColumnWidth = 9000;

    // `textWidth` measures texts in the grid's font (twips).
    explicit ChangeLogList(ListGrid::TextWidth textWidth);

    static QString caption() { return QStringLiteral("操作记录"); }
    const CommandButton& command1(int index) const { return m_buttons.at(index); }
    ListGrid& grid() { return m_grid; }
    const ListGrid& grid() const { return m_grid; }

    // The filter: one set ("" all) and the first day (invalid: no limit).
    QString setId;
    QDate since;
    // The sets the record names, for the filter: Id and latest name, in the order of Id.
    const QVector<QPair<QString, QString>>& sets() const { return m_sets; }

    // Told when the window is to unload (button 0).
    std::function<void()> onUnload;

    // Reads the record with the filter into the grid; false when it failed (reported as
    // "LoadChangeLog():" + the error text, the grid then empty).
    bool Load();
    void command1_Click(int index);

    // Where the filter row and the grid go for a window of this inner size (twips).
    struct Places {
        int filterTop;
        int gridLeft, gridTop, gridWidth, gridHeight;
    };
    static Places Form_Resize(int innerWidth, int innerHeight);

private:
    void fitColumns();

    ListGrid m_grid;
    ListGrid::TextWidth m_textWidth;
    std::array<CommandButton, kButtonCount> m_buttons;
    QVector<QPair<QString, QString>> m_sets;
};

}  // namespace ztgl
