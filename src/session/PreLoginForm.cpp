#include "session/PreLoginForm.h"

#include "db/PubSql.h"
#include "platform/ShutDown.h"
#include "process/Globals.h"
#include "session/WireMessage.h"

namespace ztgl {
namespace {

const QString kInfoTitle = QStringLiteral("提示信息");
const QString kSocketTitle = QStringLiteral("提示");
constexpr int kKeyQ = 'q';
constexpr int kLeftButton = 1;
constexpr int kCtrlOnly = 2;

}  // namespace

PreLoginForm::PreLoginForm(SessionSocket& socket, ShutDown* orders, Hooks hooks)
    : HandshakeForm(socket), m_orders(orders), m_hooks(std::move(hooks)) {}

QString PreLoginForm::UnusableAddressText(const QString& address) {
    return QStringLiteral("服务器地址“%1”不正确，不能登录系统").arg(address);
}

void PreLoginForm::Form_Load() {
    prepareSocket();
    m_socket.Connect();
    m_frame = 1;
    m_status = QStringLiteral("正在连接服务器，请稍候......");
}

void PreLoginForm::Form_Activate() {
    if (isUnloaded() || !addressUnusable())
        return;
    MsgBox(UnusableAddressText(TrimBlanks(gServerIP)), MsgButtons::Ok, MsgIcon::None);
    gConnectString.clear();
    m_socket.Close();
    Unload();
}

void PreLoginForm::Form_KeyPress(int keyAscii) {
    if (keyAscii != kKeyQ || isUnloaded())
        return;
    Unload();
    if (m_hooks.showConnectSettings)
        m_hooks.showConnectSettings();
    if (m_hooks.runMain && !m_hooks.runMain())
        m_endsProgram = true;
}

void PreLoginForm::Form_MouseUp(int button, int shift) {
    if (button != kLeftButton || shift != kCtrlOnly || isUnloaded())
        return;
    gConnectString.clear();
    m_socket.Close();
    if (m_hooks.showConnectSettings)
        m_hooks.showConnectSettings();
}

void PreLoginForm::Form_QueryUnload(int unloadMode) {
    if (unloadMode == 0)
        gConnectString = QStringLiteral("'ERROR'");
}

void PreLoginForm::Winsock_Connect() {
    trapped([this] { send(WireMessage::KxBegin); });
}

void PreLoginForm::Winsock_DataArrival(const QByteArray& data) {
    trapped([this, &data] { handle(WireMessage::decode(data)); });
}

void PreLoginForm::handle(const QString& message) {
    using W = WireMessage;
    const QString tag = W::tag(message);
    if (tag == W::KindTag) {
        gDBType = message;
        send(W::Connect);
    } else if (tag == W::ConnectTag) {
        gConnectString = W::payload(message);
        send(W::DbName);
    } else if (tag == W::DbNameTag) {
        gManagerDBName = W::payload(message);
        send(W::KxEnd);
    } else if (tag == W::SuccessTag) {
        gPreLoginOK = true;
        send(W::SuccessReply);
    } else if (tag == W::ClosedTag) {
        Unload();
    } else if (tag == W::RestartTag) {
        obey(message.back());
    } else if (tag == W::ConnFailTag) {
        MsgBox(QStringLiteral("数据库连接失败，请检查服务器是否成功连接数据库！"), MsgButtons::Ok,
               MsgIcon::Information, kInfoTitle);
        endProgram();
    } else if (tag == W::ConningTag) {
        if (MsgBox(W::payload(message), MsgButtons::RetryCancel, MsgIcon::Question, kInfoTitle) ==
            MsgAnswer::Cancel) {
            endProgram();
        } else if (!isUnloaded()) {
            m_socket.Close();
            m_socket.Connect();
        }
    }
    // "Failure:" and every other message: no reply, nothing changes.
}

void PreLoginForm::obey(QChar order) {
    switch (order.unicode()) {
        case '0':
            if (m_orders)
                m_orders->LogOffWindows(true);
            break;
        case '1':
            if (m_orders)
                m_orders->ShutDownWindows(true);
            break;
        case '2':
            if (m_orders)
                m_orders->RestartWindows(true);
            break;
        case '3':
            endProgram();
            break;
        default:
            break;
    }
}

void PreLoginForm::endProgram() {
    m_endsProgram = true;
    m_socket.Close();
    Unload();
}

void PreLoginForm::Winsock_Close() {
    if (!m_socket.isClosed())
        m_socket.Close();
    MsgBox(QStringLiteral("连接断开！"), MsgButtons::Ok, MsgIcon::Information, QStringLiteral("断开"));
    serverClosed();
}

void PreLoginForm::Winsock_Error(SessionSocket::ErrorKind kind, const QString& description) {
    const QString text = kind == SessionSocket::ErrorKind::ConnectionRefused
                             ? QStringLiteral("无法连接服务器，请查看服务器是否启动！")
                             : description + QStringLiteral("，不能登录系统！");
    MsgBox(text, MsgButtons::Ok, MsgIcon::Information, kSocketTitle);
    gConnectString.clear();
    m_socket.Close();
    Unload();
}

}  // namespace ztgl
