#include "ui/FrmZTGL.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTableView>
#include <utility>

#include "style/ButtonRowLayout.h"
#include "ui/ListGridModel.h"
#include "ui/Style.h"

namespace ztgl::gui {

FrmZTGL::FrmZTGL(QWidget* parent)
    : QWidget(parent),
      m_list([this](const QString& text) { return textAdvance(text); }),
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
    m_grid->setTabKeyNavigation(false);
    m_grid->horizontalHeader()->setMinimumSectionSize(0);
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_grid->horizontalHeader()->setHighlightSections(false);
    const int rowHeight = twipsToPixels(ListGrid::kRowHeight);
    m_grid->verticalHeader()->setMinimumSectionSize(0);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_grid->horizontalHeader()->setFixedHeight(rowHeight);

    for (int i = 0; i < AccountSetList::kButtonCount; ++i) {
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("command1_%1").arg(i));
        button->setAutoDefault(true);  // Enter presses the button that has the focus
        connect(button, &QPushButton::clicked, this, [this, i] { m_list.command1_Click(i); });
        m_buttons << button;
    }
    // From the grid the buttons as they stand, left to right.
    QWidget* previous = m_grid;
    for (int i = AccountSetList::kButtonCount - 1; i >= 0; --i) {
        setTabOrder(previous, m_buttons[i]);
        previous = m_buttons[i];
    }

    m_list.grid().addListener(this);
    m_list.onButtonsChanged = [this] { showButtons(); };
    m_list.onUnload = [this] { unload(); };
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &FrmZTGL::viewMoved);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this] { m_list.MSFlexGrid1_Click(); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this] { m_list.MSFlexGrid1_DblClick(); });
    m_grid->installEventFilter(this);
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
        button->setFixedSize(twipsToPixels(state.widthTwips),
                             twipsToPixels(style::ButtonRowLayout::kButtonHeight));
        button->setEnabled(state.enabled);
        button->setVisible(state.visible);
    }
}

int FrmZTGL::textAdvance(const QString& text) const {
    return pixelsToTwips(m_grid->fontMetrics().horizontalAdvance(text));
}

void FrmZTGL::applyColumnWidths() {
    for (int c = 0; c < m_list.grid().Cols(); ++c)
        columnWidthChanged(c);
}

void FrmZTGL::gridReset() {
    applyColumnWidths();
}

void FrmZTGL::currentRowChanged(int row) {
    const QScopedValueRollback<bool> showing(m_showingRow, true);
    if (row <= 0) {
        m_grid->selectionModel()->clearCurrentIndex();
        m_grid->clearSelection();
        return;
    }
    // Column 0 is hidden: a current cell there would stop the keyboard moves.
    const QModelIndex index = m_model->index(ListGridModel::modelRow(row), AccountSetList::ColMarker);
    if (m_grid->currentIndex().row() != index.row())
        m_grid->setCurrentIndex(index);
}

void FrmZTGL::viewMoved(const QModelIndex& current) {
    if (m_showingRow)
        return;
    // One key or one press moves the row once; the view's own moves (the first row it makes
    // current when the focus arrives) are undone, so a list that failed to fill stays unmarked.
    if (std::exchange(m_operatorInput, false) && current.isValid())
        m_list.moveTo(ListGridModel::gridRow(current.row()));
    else
        currentRowChanged(m_list.grid().Row());
}

// The header cell's margins come on top of the text, so that it shows whole in the Qt header.
void FrmZTGL::columnWidthChanged(int col) {
    const QHeaderView* header = m_grid->horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int text = twipsToPixels(m_list.grid().ColWidth(col));
    m_grid->setColumnHidden(col, text == 0);
    m_grid->setColumnWidth(col, text == 0 ? 0 : text + 2 * margin);
}

bool FrmZTGL::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid) {
        m_operatorInput = event->type() == QEvent::KeyPress;
        if (m_operatorInput && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
            static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
            m_list.MSFlexGrid1_Click();
            return true;
        }
    } else if (watched == m_grid->viewport() && !m_replaying) {
        m_operatorInput = false;
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
                return gridMouse(static_cast<QMouseEvent*>(event));
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The flex grid keeps the row where the left button went down as its current row until the
// button comes up, wherever that is, and then reports a click; a click below the rows is a click
// on the current row. The view would follow a drag and report a click only when press and release
// meet on one cell; it sees the press on a row, and a release at the press point.
bool FrmZTGL::gridMouse(QMouseEvent* event) {
    const bool onRow = m_grid->indexAt(event->position().toPoint()).isValid();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            m_afterDoubleClick = false;
            if (event->button() != Qt::LeftButton || !onRow)
                return true;
            m_operatorInput = true;
            m_pressPoint = event->position();
            return false;
        case QEvent::MouseMove:
            return event->buttons() != Qt::NoButton;
        case QEvent::MouseButtonDblClick:
            if (event->button() == Qt::LeftButton) {
                m_afterDoubleClick = true;
                m_list.MSFlexGrid1_DblClick();
            }
            return true;
        default:  // release
            break;
    }
    if (event->button() != Qt::LeftButton)
        return true;
    if (!std::exchange(m_afterDoubleClick, false))
        m_list.MSFlexGrid1_Click();
    if (!m_pressPoint)
        return true;
    // The view ends its press where it began, so that its selection stays on the current row.
    QMouseEvent atPress(QEvent::MouseButtonRelease, *m_pressPoint,
                        m_grid->viewport()->mapToGlobal(*m_pressPoint), Qt::LeftButton, Qt::NoButton,
                        event->modifiers());
    m_pressPoint.reset();
    const QScopedValueRollback<bool> replaying(m_replaying, true);
    QApplication::sendEvent(m_grid->viewport(), &atPress);
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
