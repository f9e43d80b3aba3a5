#pragma once

#include <QList>
#include <QWidget>

#include "safekeeping/ChangeLogList.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QTableView;

namespace ztgl::gui {

class ListGridModel;

// The record window frmCZRZ, a child of the main window beside the list: the record of changes
// in a read-only grid (newest first) under a filter row (set, first day) and the buttons
// "关闭(&Q)" and "查询(&F)". It only shows ChangeLogList's state and forwards the operator's input.
class FrmCZRZ : public QWidget, private ListGrid::Listener {
    Q_OBJECT
public:
    explicit FrmCZRZ(QWidget* parent = nullptr);
    ~FrmCZRZ() override;

    ChangeLogList& list() { return m_list; }
    QTableView* MSFlexGrid1() const { return m_grid; }
    QComboBox* cmbZT() const { return m_set; }
    QCheckBox* chkRQ() const { return m_useDate; }
    QDateEdit* dtpRQ() const { return m_date; }
    QAbstractButton* command1(int index) const { return m_buttons.at(index); }
    // Reads the record again with the filter shown (button "查询(&F)").
    void query();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillSetChoices();
    void gridReset() override;
    void columnWidthChanged(int col) override;

    ChangeLogList m_list;
    QTableView* m_grid;
    ListGridModel* m_model;
    QLabel* m_setLabel;
    QComboBox* m_set;
    QCheckBox* m_useDate;
    QDateEdit* m_date;
    QList<QAbstractButton*> m_buttons;
};

}  // namespace ztgl::gui
