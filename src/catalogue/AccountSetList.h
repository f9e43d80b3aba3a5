#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <functional>

#include "creation/AccountSetRows.h"
#include "catalogue/ListGrid.h"

namespace ztgl {

// One button of the list window's command1 array.
struct CommandButton {
    QString caption;
    QString toolTip;
    int widthTwips = 0;
    bool enabled = true;
    bool visible = true;
};

// The rules of the account-set list window frmZTGL: the grid of ZTML, the selection marker, the
// button states and the six commands. The widget shows this state and forwards its events here;
// ztgl-admin drives it without a screen.
class AccountSetList : public AccountSetRows {
public:
    static constexpr int kButtonCount = 6;
    // Grid columns.
    enum Column { ColId = 0, ColMarker, ColNumber, ColName, ColStatus, ColDatabase, ColCreated };

    static const QString kFormatString;
    static const QString kMarker;    // "◆"
    static const QString kInUse;     // "现启用"
    static const QString kDisabled;  // "已停用"

    // `textWidth` measures header texts in the grid's font (twips); without one a rough
    // estimate stands in (no screen, e.g. ztgl-admin).
    explicit AccountSetList(ListGrid::TextWidth textWidth = {});

    ListGrid& grid() { return m_grid; }
    const ListGrid& grid() const { return m_grid; }
    const QString& caption() const { return m_caption; }
    bool maximized() const { return m_maximized; }
    const CommandButton& command1(int index) const { return m_buttons.at(index); }

    // Told when a button's state changed and when the window is to unload (button 0).
    std::function<void()> onButtonsChanged;
    std::function<void()> onUnload;

    // Whole load without a screen: loadLayout() then SetMSFlexGrid1Date(). The widget runs the
    // two itself, with its styling in between.
    void Form_Load();
    // Caption, window state, button 5 hidden, the grid's format string.
    void loadLayout();
    // Fills the grid from ZTML; false when it failed (reported as "SetMSFlexGrid1Date():").
    bool SetMSFlexGrid1Date();

    void MSFlexGrid1_Click();
    void MSFlexGrid1_DblClick() { ModifyAccountSet(); }
    void MSFlexGrid1_RowColChange();
    // The current row moves (mouse, keyboard or program): RowColChange when it really moved.
    void moveTo(int row);

    void command1_Click(int index);
    void NewAccountSet();
    void ModifyAccountSet();

    enum class FlagResult { Refused, NoSet, Written, Failed };
    // Disables (false) or enables (true) the set of the current row after a confirmation.
    FlagResult SetUserFlag(bool bEnable);
    void DateBaseModifyByZavrin();

    // Where the grid goes for a window of this inner size (twips).
    struct GridPlace {
        int left, top, width, height;
    };
    static GridPlace Form_Resize(int innerWidth, int innerHeight);

    // The status text shown for a UserFlag value: 0 is disabled, anything else (Null too) in use.
    static QString statusText(const QVariant& userFlag);
    // Whether a key cell holds a number (the commands on a set ignore any other key).
    static bool IsNumeric(const QString& text);

    // What the editor does to the grid after saving.
    void appendNewSet(const QString& id, const QString& name, const QString& databaseName,
                      const QString& createDate) override;
    void renameCurrentSet(const QString& name) override;

private:
    void setButtonEnabled(int index, bool enabled);

    ListGrid m_grid;
    ListGrid::TextWidth m_textWidth;
    QString m_caption;
    bool m_maximized = false;
    std::array<CommandButton, kButtonCount> m_buttons;
};

}  // namespace ztgl
