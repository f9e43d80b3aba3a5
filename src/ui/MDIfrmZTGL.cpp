#include "ui/MDIfrmZTGL.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QToolBar>

#include "catalogue/PermissionUpgrade.h"
#include "ui/CompanyMenu.h"
#include "ui/FrmZTGL.h"

namespace ztgl::gui {
namespace {

constexpr int kIconSize = 24;

// The toolbar pictures, drawn here: a list sheet, a key, and the switch-off sign.
QIcon toolbarIcon(const QString& key) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (key == QLatin1String("ZTGL")) {
        p.setPen(QPen(QColor(36, 92, 128), 1.5));
        p.setBrush(QColor(255, 255, 240));
        p.drawRoundedRect(QRectF(3.5, 2.5, 17, 19), 2, 2);
        p.setPen(QPen(QColor(36, 92, 128), 2));
        for (int row = 0; row < 4; ++row) {
            const qreal y = 7 + row * 4;
            p.drawPoint(QPointF(7, y));
            p.drawLine(QPointF(10, y), QPointF(17, y));
        }
    } else if (key == QLatin1String("XGMM")) {
        p.setPen(QPen(QColor(128, 96, 16), 1.5));
        p.setBrush(QColor(236, 188, 64));
        p.drawEllipse(QRectF(2.5, 6.5, 10, 10));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(5.5, 9.5, 4, 4));
        p.setBrush(QColor(236, 188, 64));
        QPainterPath shaft;
        shaft.moveTo(12.5, 10);
        shaft.lineTo(21.5, 10);
        shaft.lineTo(21.5, 16);
        shaft.lineTo(19, 16);
        shaft.lineTo(19, 13);
        shaft.lineTo(17, 13);
        shaft.lineTo(17, 15);
        shaft.lineTo(15, 15);
        shaft.lineTo(15, 13);
        shaft.lineTo(12.5, 13);
        shaft.closeSubpath();
        p.drawPath(shaft);
    } else {
        p.setPen(QPen(QColor(192, 32, 32), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(4, 5, 16, 16), 125 * 16, 290 * 16);
        p.drawLine(QPointF(12, 3), QPointF(12, 12));
    }
    return QIcon(pixmap);
}

}  // namespace

MDIfrmZTGL::MDIfrmZTGL(QWidget* parent)
    : QMainWindow(parent), m_logic(*this), m_mdi(new QMdiArea(this)), m_toolbar(new QToolBar(this)) {
    setObjectName(QStringLiteral("MDIfrmZTGL"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(toolbarIcon(QStringLiteral("ZTGL")));
    setCentralWidget(m_mdi);
    m_mdi->setBackground(QColor(171, 169, 146));

    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(kIconSize, kIconSize));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const auto& button : MainWindowLogic::toolbarButtons()) {
        QAction* action = m_toolbar->addAction(toolbarIcon(button.key), button.caption);
        action->setObjectName(button.key);
        const QString key = button.key;
        connect(action, &QAction::triggered, this, [this, key] { m_logic.Toolbar1_ButtonClick(key); });
    }
    addToolBar(Qt::TopToolBarArea, m_toolbar);

    // MDIForm_Load: the captions, then the list window.
    setWindowTitle(MainWindowLogic::caption());
    m_company = menuBar()->addMenu(MainWindowLogic::caption());
    m_company->setObjectName(QStringLiteral("Company"));
    QAction* upgrade = m_company->addAction(QStringLiteral("升级全部帐套的权限(&U)…"));
    connect(upgrade, &QAction::triggered, this, [] { RunPermissionUpgrade(); });
    new CompanyMenu(this, m_company, upgrade);
    m_company->addSeparator();
    QAction* quit = m_company->addAction(QStringLiteral("退出系统(&X)"));
    connect(quit, &QAction::triggered, this,
            [this] { m_logic.Toolbar1_ButtonClick(QStringLiteral("TCXT")); });
    resize(1024, 720);
    m_logic.MDIForm_Load();
}

// The list window goes first, while the rules it reports its unloading to are still here.
MDIfrmZTGL::~MDIfrmZTGL() {
    delete m_listSub.data();
}

FrmZTGL* MDIfrmZTGL::listWindow() const {
    return m_listSub ? qobject_cast<FrmZTGL*>(m_listSub->widget()) : nullptr;
}

void MDIfrmZTGL::loadList() {
    auto* list = new FrmZTGL();
    m_listSub = m_mdi->addSubWindow(list);
    m_listSub->setAttribute(Qt::WA_DeleteOnClose);
    m_listSub->setWindowIcon(windowIcon());
    connect(m_listSub, &QObject::destroyed, this, [this] { m_logic.listUnloaded(); });
    m_listSub->showMaximized();
}

void MDIfrmZTGL::bringListToFront() {
    if (!m_listSub)
        return;
    m_mdi->setActiveSubWindow(m_listSub);
    m_listSub->raise();
}

void MDIfrmZTGL::unload() {
    close();
}

void MDIfrmZTGL::closeEvent(QCloseEvent* event) {
    m_logic.MDIForm_Unload();
    QMainWindow::closeEvent(event);
}

}  // namespace ztgl::gui
