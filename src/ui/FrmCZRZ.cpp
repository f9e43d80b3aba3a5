#include "ui/FrmCZRZ.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QTableView>

#include "ui/ListGridModel.h"
#include "ui/Style.h"

namespace ztgl::gui {

namespace {
constexpr int kFilterHeight = 345;  // twips
}

FrmCZRZ::FrmCZRZ(QWidget* parent)
    : QWidget(parent),
      // The grid takes the form's font; the header cells' margins come on top.
      m_list([this](const QString& text) {
          return pixelsToTwips(fontMetrics().horizontalAdvance(text) +
                               2 * style()->pixelMetric(QStyle::PM_HeaderMargin));
      }),
      m_grid(nullptr),
      m_model(nullptr),
      m_setLabel(new QLabel(QStringLiteral("帐套："), this)),
      m_set(new QComboBox(this)),
      m_useDate(new QCheckBox(QStringLiteral("起始日期："), this)),
      m_date(new QDateEdit(QDate::currentDate(), this)) {
    setObjectName(QStringLiteral("frmCZRZ"));
    setWindowTitle(ChangeLogList::caption());
    m_grid = new QTableView(this);
    m_model = new ListGridModel(m_list.grid(), this);
    m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_set->setObjectName(QStringLiteral("cmbZT"));
    m_useDate->setObjectName(QStringLiteral("chkRQ"));
    m_date->setObjectName(QStringLiteral("dtpRQ"));
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    m_date->setEnabled(false);
    connect(m_useDate, &QCheckBox::toggled, m_date, &QWidget::setEnabled);

    for (int i = 0; i < ChangeLogList::kButtonCount; ++i) {
        auto* button = new QPushButton(m_list.command1(i).caption, this);
        button->setObjectName(QStringLiteral("command1_%1").arg(i));
        button->setToolTip(m_list.command1(i).toolTip);
        connect(button, &QPushButton::clicked, this, [this, i] {
            if (i == 1)
                query();
            else
                m_list.command1_Click(i);
        });
        m_buttons << button;
    }
    m_list.onUnload = [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    };
    m_list.grid().addListener(this);

    Set_Style(this, m_buttons, ChangeLogList::caption());
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setFixedSize(
            qMax(twipsToPixels(m_list.command1(i).widthTwips), m_buttons[i]->sizeHint().width()),
            twipsToPixels(615));
    Set_Position(this, m_buttons);
    Set_Msflexgrid(m_grid, 0);
    Set_FlatControls(this);
    query();
}

FrmCZRZ::~FrmCZRZ() {
    m_list.grid().removeListener(this);
    m_list.onUnload = nullptr;
    delete m_grid;
    delete m_model;
}

void FrmCZRZ::query() {
    m_list.setId = m_set->currentData().toString();
    m_list.since = m_useDate->isChecked() ? m_date->date() : QDate();
    m_list.Load();
    fillSetChoices();
}

// "全部帐套" and every set the record names; the choice shown stays.
void FrmCZRZ::fillSetChoices() {
    const QString chosen = m_list.setId;
    const QSignalBlocker block(m_set);
    m_set->clear();
    m_set->addItem(QStringLiteral("全部帐套"), QString());
    for (const auto& [id, name] : m_list.sets())
        m_set->addItem(id + QStringLiteral("  ") + name, id);
    m_set->setCurrentIndex(qMax(0, m_set->findData(chosen)));
}

void FrmCZRZ::gridReset() {
    for (int c = 0; c < m_list.grid().Cols(); ++c)
        columnWidthChanged(c);
}

void FrmCZRZ::columnWidthChanged(int col) {
    m_grid->setColumnWidth(col, twipsToPixels(m_list.grid().ColWidth(col)));
}

void FrmCZRZ::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const auto p = ChangeLogList::Form_Resize(pixelsToTwips(width()), pixelsToTwips(height()));
    const int rowHeight = twipsToPixels(kFilterHeight);
    const int top = twipsToPixels(p.filterTop);
    int x = twipsToPixels(p.gridLeft);
    m_setLabel->setGeometry(x, top, m_setLabel->sizeHint().width(), rowHeight);
    x += m_setLabel->sizeHint().width();
    m_set->setGeometry(x, top, twipsToPixels(3600), rowHeight);
    x += twipsToPixels(3600 + 450);
    m_useDate->setGeometry(x, top, m_useDate->sizeHint().width(), rowHeight);
    x += m_useDate->sizeHint().width();
    m_date->setGeometry(x, top, twipsToPixels(1800), rowHeight);
    m_grid->setGeometry(twipsToPixels(p.gridLeft), twipsToPixels(p.gridTop), twipsToPixels(p.gridWidth),
                        twipsToPixels(p.gridHeight));
    Set_Position(this, m_buttons);
}

}  // namespace ztgl::gui
