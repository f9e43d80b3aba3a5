#include "session/HandshakeForm.h"

#include <QEventLoop>
#include <QTimer>

#include "db/PubSql.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"
#include "session/WireMessage.h"

namespace ztgl {
namespace {

constexpr int kInvalidPropertyValue = 380;

// The view of a run without a screen: ends the event loop where the window would unload or
// start waiting for its operator.
class LoopView final : public HandshakeForm::View {
public:
    explicit LoopView(QEventLoop& loop) : m_loop(loop) {}
    void showFrame(int) override {}
    void unload() override { m_loop.quit(); }
    void waitingForOperator() override { m_loop.quit(); }

private:
    QEventLoop& m_loop;
};

}  // namespace

style::TwipsRect HandshakeForm::frameRect() {
    return {120, 120, 5160, 2010};
}
style::TwipsRect HandshakeForm::pictureRect() {
    return {390, 570, 960, 960};
}
style::TwipsRect HandshakeForm::titleRect() {
    return {1620, 360, 3480, 360};
}
style::TwipsRect HandshakeForm::statusRect() {
    return {1620, 930, 3480, 300};
}
style::TwipsRect HandshakeForm::animationRect() {
    return {1620, 1440, 2970, 240};
}

HandshakeForm::HandshakeForm(SessionSocket& socket) : m_socket(socket) {
    m_socket.setEvents(this);
}

HandshakeForm::~HandshakeForm() {
    m_socket.setEvents(nullptr);
}

quint16 HandshakeForm::RemotePortValue(const QString& text) {
    const QString digits = TrimBlanks(text);
    bool ok = !digits.isEmpty();
    for (const QChar c : digits)
        ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!ok)
        throw RuntimeError(RuntimeError::TypeMismatch);
    const uint value = digits.toUInt(&ok);
    if (!ok || value > 65535)
        throw RuntimeError(kInvalidPropertyValue, QStringLiteral("无效的属性值"));
    return quint16(value);
}

void HandshakeForm::prepareSocket() {
    if (!m_socket.isClosed())
        m_socket.Close();
    const QString host = TrimBlanks(gServerIP);
    if (!host.isEmpty())
        m_socket.setRemoteHost(host);
    const QString port = TrimBlanks(gServerPort);
    if (!port.isEmpty()) {
        try {
            m_socket.setRemotePort(RemotePortValue(port));
        } catch (const std::exception&) {
            // Ignored as during the whole load: the socket keeps the port it had.
        }
    }
}

bool HandshakeForm::addressUnusable() {
    return !gServerIP.contains(QLatin1Char('.')) || TrimBlanks(gServerIP).size() < 2;
}

void HandshakeForm::send(const QString& message) {
    m_socket.SendData(WireMessage::encode(message));
}

void HandshakeForm::trapped(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        MsgBox(errorText(e), MsgButtons::Ok, MsgIcon::Information, QStringLiteral("提示"));
    }
}

void HandshakeForm::Timer1_Timer() {
    if (m_view)
        m_view->showFrame(m_frame);
    ui().doEvents();
    m_frame = m_frame % kFrames + 1;
}

void HandshakeForm::Form_KeyPress(int) {}

void HandshakeForm::Form_MouseUp(int, int) {}

void HandshakeForm::Form_QueryUnload(int) {}

void HandshakeForm::Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (!m_socket.isClosed())
        m_socket.Close();
    if (m_view)
        m_view->unload();
}

void HandshakeForm::serverClosed() {
    m_serverClosed = true;
    if (m_view)
        m_view->waitingForOperator();
}

HandshakeForm::RunEnd HandshakeForm::runWithoutScreen(int timeoutMs) {
    QEventLoop loop;
    LoopView view(loop);
    View* const previous = m_view;
    m_view = &view;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [this] { Timer1_Timer(); });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);

    Form_Load();
    if (!m_unloaded)
        Form_Activate();
    if (!m_unloaded && !m_serverClosed) {
        timer.start(kTimerInterval);
        deadline.start(timeoutMs);
        loop.exec();
    }
    timer.stop();
    deadline.stop();

    RunEnd end = RunEnd::Unloaded;
    if (!m_unloaded) {
        end = m_serverClosed ? RunEnd::ServerClosed : RunEnd::TimedOut;
        Form_QueryUnload(0);
        Unload();
    }
    m_view = previous;
    return end;
}

}  // namespace ztgl
