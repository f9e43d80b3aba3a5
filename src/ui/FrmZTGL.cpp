#include "ui/FrmZTGL.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QTableView>

#include "ui/ListGridModel.h"
#include "ui/Style.h"

namespace ztgl::gui {

FrmZTGL::FrmZTGL(QWidget* parent)
    : QWidget(parent),
      m_list([this](const QString& text) { return headerTextWidth(text); }),
      m_grid(new QTableView(this)),
      m_model(new ListGridModel(m_list.grid(), this)) {
    setObjectName(QStringLiteral("frmZTGL"));
    m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->setTextElideMode(Qt::ElideNone);  // a narrow cell clips its text, as the flex grid does
    m_grid->horizontalHeader()->setMinimumSectionSize(0);
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_grid->horizontalHeader()->setHighlightSections(false);

    for (int i = 0; i < AccountSetList::kButtonCount; ++i) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("command1_%1").arg(i));
        connect(button, &QPushButton::clicked, this, [this, i] { m_list.command1_Click(i); });
        m_buttons << button;
    }

    m_list.grid().addListener(this);
    m_list.onButtonsChanged = [this] { showButtons(); };
    m_list.onUnload = [this] { unload(); };
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_list.moveTo(ListGridModel::gridRow(current.row()));
            });
    connect(m_grid, &QTableView::clicked, this, [this] { m_list.MSFlexGrid1_Click(); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this] { m_list.MSFlexGrid1_Click(); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] { m_list.MSFlexGrid1_DblClick(); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this] { m_list.MSFlexGrid1_DblClick(); });
    m_grid->viewport()->installEventFilter(this);

    Form_Load();
}

// The view and the model go before the list they show (members die before the QWidget base
// deletes its children).
FrmZTGL::~FrmZTGL() {
    // The filters on the grid and its viewport go first: the dying grid still sends them events
    // when it is no scroll area any more.
    m_grid->viewport()->removeEventFilter(this);
    m_grid->removeEventFilter(this);
    m_list.grid().removeListener(this);
    m_list.onButtonsChanged = nullptr;
    m_list.onUnload = nullptr;
    delete m_grid;
    delete m_model;
}

void FrmZTGL::Form_Load() {
    m_list.loadLayout();
    setWindowTitle(m_list.caption());
    if (m_list.maximized())
        setWindowState(windowState() | Qt::WindowMaximized);
    Set_Style(this, m_buttons, m_list.caption());
    showButtons();  // the pictures came with the style: widths again, then the row again
    Set_Position(this, m_buttons);
    Set_Msflexgrid(m_grid, 0);
    Set_FlatControls(this);
    m_list.SetMSFlexGrid1Date();
}

void FrmZTGL::unload() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
    emit unloaded();
}

void FrmZTGL::showButtons() {
    for (int i = 0; i < m_buttons.size(); ++i) {
        const CommandButton& state = m_list.command1(i);
        QAbstractButton* button = m_buttons[i];
        button->setText(state.caption);
        button->setToolTip(state.toolTip);
        // The designed width, or more when caption and picture need it in this font.
        button->setFixedSize(qMax(twipsToPixels(state.widthTwips), button->sizeHint().width()),
                             twipsToPixels(615));
        button->setEnabled(state.enabled);
        button->setVisible(state.visible);
    }
}

// The flex grid makes a column as wide as its header text; the header cell's own margins are
// added so that the text shows whole in the Qt header.
int FrmZTGL::headerTextWidth(const QString& text) const {
    const QHeaderView* header = m_grid->horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    return pixelsToTwips(header->fontMetrics().horizontalAdvance(text) + 2 * margin);
}

void FrmZTGL::applyColumnWidths() {
    for (int c = 0; c < m_list.grid().Cols(); ++c)
        columnWidthChanged(c);
}

void FrmZTGL::gridReset() {
    applyColumnWidths();
}

void FrmZTGL::currentRowChanged(int row) {
    if (row <= 0) {
        m_grid->selectionModel()->clearCurrentIndex();
        return;
    }
    // Column 0 is hidden: a current cell there would stop the keyboard moves.
    const QModelIndex index = m_model->index(ListGridModel::modelRow(row), AccountSetList::ColMarker);
    if (m_grid->currentIndex().row() != index.row())
        m_grid->setCurrentIndex(index);
}

void FrmZTGL::columnWidthChanged(int col) {
    const int px = twipsToPixels(m_list.grid().ColWidth(col));
    m_grid->setColumnHidden(col, px == 0);
    m_grid->setColumnWidth(col, px);
}

// The flex grid reports clicks and double clicks anywhere on it; the view reports them only on
// cells. On the empty area below the rows they are forwarded here and kept from the view, which
// would clear the highlight of the current row (the current row stays, as in the flex grid).
bool FrmZTGL::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != m_grid->viewport() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
         type != QEvent::MouseButtonDblClick))
        return QWidget::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (m_grid->indexAt(mouse->position().toPoint()).isValid())
        return QWidget::eventFilter(watched, event);
    if (mouse->button() == Qt::LeftButton) {
        if (type == QEvent::MouseButtonRelease)
            m_list.MSFlexGrid1_Click();
        else if (type == QEvent::MouseButtonDblClick)
            m_list.MSFlexGrid1_DblClick();
    }
    return true;
}

void FrmZTGL::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const auto place = AccountSetList::Form_Resize(pixelsToTwips(width()), pixelsToTwips(height()));
    m_grid->setGeometry(twipsToPixels(place.left), twipsToPixels(place.top), twipsToPixels(place.width),
                        twipsToPixels(place.height));
    Set_Position(this, m_buttons);
}

}  // namespace ztgl::gui
