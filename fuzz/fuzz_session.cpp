// The two conversations with the suite's server program, w_PreLogin and w_CheckUser, without a screen:
// a socket, a screen port and workstation orders that only record, driven by the input read as a script.
// Its first byte picks the window, the server address (usable, a plain host name, empty, ".") and the port
// text (a number or not); then come events: connected, a receive of any bytes, a receive of one of the
// server's messages cut short or run together with more bytes, the server closing, a refused connection,
// another socket error, a timer tick, a key, a mouse button released, the operator's close, the window
// becoming active again. Questions are answered from the script. A message box, like the timer's tick,
// lets pending events run: socket events and ticks inside a box, every event but another tick inside a
// tick.
// Oracles, after every event:
// - it did exactly what the conversation's rules make of it (the values stored, the replies sent, the
//   message boxes, the workstation orders, the window unloaded or not, the socket closed, reconnecting or
//   not), checked against a model of those rules for every event in which no other event ran;
// - the client only ever sends the messages of its conversation, and only on an open connection;
// - an unloaded window has its socket closed; a window that ends the program is unloaded; CheckResult is
//   "105", "000" or what a "Failure:" brought; gServerIP and gServerPort keep their fixed widths.
#include <QStringList>
#include <QVector>
#include <memory>
#include <tuple>

#include "FuzzSupport.h"
#include "RecordingShutDown.h"
#include "db/PubSql.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"
#include "session/CheckUserForm.h"
#include "session/PreLoginForm.h"
#include "session/WireMessage.h"

using namespace ztgl;

namespace {

enum class Sock { Closed, Connecting, Connected };

class FakeSocket final : public SessionSocket {
public:
    void setEvents(Events* events) override { this->events = events; }
    void setRemoteHost(const QString&) override {}
    void setRemotePort(quint16) override {}
    void Connect() override {
        state = Sock::Connecting;
        ++connects;
    }
    void SendData(const QByteArray& data) override {
        if (state != Sock::Connected)
            throw RuntimeError(40006, QStringLiteral("连接没有建立，不能发送数据"));
        sent << data;
    }
    void Close() override { state = Sock::Closed; }
    bool isClosed() const override { return state == Sock::Closed; }

    Events* events = nullptr;
    Sock state = Sock::Closed;
    int connects = 0;
    QList<QByteArray> sent;
};

struct Box {
    QString text, title;
    MsgIcon icon;
    MsgButtons buttons;
    auto tied() const { return std::tie(text, title, icon, buttons); }
    bool operator==(const Box& o) const { return tied() == o.tied(); }
};

// Everything an event may change.
struct State {
    QString dbType, connectString, dbName, checkResult;
    bool preLoginOK = false, unloaded = false, endsProgram = false;
    Sock sock = Sock::Closed;
    int connects = 0, settingsShown = 0, mainRuns = 0;
    QList<QByteArray> sent;
    QVector<Box> boxes;
    QStringList orders;
    auto tied() const {
        return std::tie(dbType, connectString, dbName, checkResult, preLoginOK, unloaded, endsProgram, sock,
                        connects, settingsShown, mainRuns, sent, boxes, orders);
    }
    bool operator==(const State& o) const { return tied() == o.tied(); }
};

const char* const kServerMessages[] = {"[Microsoft Access]", "[Microsoft SQL Server]",
                                       "Connect:",           "DBNAME$:",
                                       "SUCCESS:",           "Closed$:",
                                       "Failure:",           "restart:",
                                       "ConnFail",           "Conning:"};

class Conversation final : public UiPort {
public:
    Conversation(const uint8_t* data, size_t size) : in(data, size) {
        setUi(this);
        ResetGlobals();
        const uint8_t setup = in.byte();
        const char* const addresses[] = {"192.168.0.10", "server", "", "."};
        gServerIP = FixedText(QString::fromLatin1(addresses[(setup >> 1) & 3]), 20);
        gServerPort = FixedText((setup & 8) ? QStringLiteral("port") : QStringLiteral("8000"), 5);
        gOperator.Id = QString::fromUtf8(in.piece());
        gOperator.UserName = QString::fromUtf8(in.piece());
        if (setup & 1) {
            check = new CheckUserForm(socket);
            form.reset(check);
            allowed = {WireMessage::encode(WireMessage::PdUsers + gOperator.Id + QLatin1Char('/') +
                                           gOperator.UserName),
                       WireMessage::encode(WireMessage::KxEnd)};
        } else {
            PreLoginForm::Hooks hooks;
            hooks.showConnectSettings = [this] { ++settingsShown; };
            hooks.runMain = [this] {
                ++mainRuns;
                mainEnded = in.byte() & 1;
                return !mainEnded;
            };
            preLogin = new PreLoginForm(socket, &orders, hooks);
            form.reset(preLogin);
            for (const QString& m : {WireMessage::KxBegin, WireMessage::Connect, WireMessage::DbName,
                                     WireMessage::KxEnd, WireMessage::SuccessReply})
                allowed << WireMessage::encode(m);
        }
    }
    ~Conversation() override {
        form.reset();
        setUi(nullptr);
        ResetGlobals();
    }

    void run() {
        topLevel(Event::Load);
        topLevel(Event::Activate);
        while (!in.atEnd() && !form->isUnloaded())
            topLevel(Event(in.byte() % int(Event::Count)));
    }

    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override {
        boxes.append({text, title, icon, buttons});
        pending(false);
        answer = buttons == MsgButtons::RetryCancel ? (in.byte() & 1 ? MsgAnswer::Retry : MsgAnswer::Cancel)
                                                    : MsgAnswer::Ok;
        return answer;
    }
    void showModal(ModalForm&) override {
        FUZZ_CHECK(false, "the handshake windows open no window of their own");
    }
    void doEvents() override { pending(true); }
    void setMainWindowEnabled(bool) override {}

private:
    enum class Event {
        Connected,
        Receive,
        ServerMessage,
        ServerCloses,
        Refused,
        OtherError,
        Tick,
        Key,
        MouseUp,
        OperatorCloses,
        Activate,
        Count,
        Load
    };

    // Events that run while a box is open (socket events and ticks) or during a tick (all but ticks). A
    // timer never ticks inside its own tick.
    void pending(bool inTick) {
        if (depth >= 3)
            return;
        for (int n = in.byte() % 3; n > 0 && !form->isUnloaded(); --n) {
            const Event e = Event(in.byte() % int(Event::Count));
            const bool socketEvent = e <= Event::OtherError;
            if (e == Event::Tick ? !ticking : (socketEvent || inTick)) {
                ++nested;
                event(e);
            }
        }
    }

    State state() const {
        return {gDBType,
                gConnectString,
                gManagerDBName,
                check ? check->CheckResult : QString(),
                gPreLoginOK,
                form->isUnloaded(),
                preLogin && preLogin->endsProgram(),
                socket.state,
                socket.connects,
                settingsShown,
                mainRuns,
                socket.sent,
                boxes,
                orders.orders};
    }

    void topLevel(Event e) {
        const State before = state();
        nested = 0;
        const std::optional<State> expected = event(e);
        const State after = state();
        if (expected && nested == 0)
            FUZZ_CHECK(after == *expected, "the event did what the conversation's rules make of it");
        for (const QByteArray& m : socket.sent)
            FUZZ_CHECK(allowed.contains(m), "only the conversation's own messages are sent");
        FUZZ_CHECK(!after.unloaded || after.sock == Sock::Closed, "an unloaded window has closed its socket");
        FUZZ_CHECK(!after.endsProgram || after.unloaded, "a window that ends the program is unloaded");
        FUZZ_CHECK(!check || after.checkResult == CheckUserForm::kNotCompleted ||
                       after.checkResult == CheckUserForm::kNoConnection ||
                       results.contains(after.checkResult),
                   "CheckResult is 105, 000 or a server's result");
        FUZZ_CHECK(gServerIP.size() == 20 && gServerPort.size() == 5, "fixed widths");
        FUZZ_CHECK(form->frame() >= 1 && form->frame() <= HandshakeForm::kFrames, "an animation frame");
        FUZZ_CHECK(!before.preLoginOK || after.preLoginOK, "success is never taken back");
    }

    // Runs one event; returns what it must leave behind when it can be told (no other event ran in it).
    std::optional<State> event(Event e) {
        if (form->isUnloaded())
            return std::nullopt;
        ++depth;
        State x = state();
        const auto closes = [&](bool unloads) {
            x.sock = Sock::Closed;
            x.unloaded = x.unloaded || unloads;
        };
        switch (e) {
            case Event::Load:
                form->Form_Load();
                x.sock = Sock::Connecting;
                x.connects = 1;
                if (check)
                    x.checkResult = CheckUserForm::kNotCompleted;
                break;
            case Event::Activate: {
                form->Form_Activate();
                const QString ip = TrimBlanks(gServerIP);
                if (!ip.contains(QLatin1Char('.')) || ip.size() < 2) {
                    closes(true);
                    if (check) {
                        x.checkResult = CheckUserForm::kNoConnection;
                    } else {
                        x.boxes.append({PreLoginForm::UnusableAddressText(ip), gAppTitle, MsgIcon::None,
                                        MsgButtons::Ok});
                        x.connectString.clear();
                    }
                }
                break;
            }
            case Event::Connected:
                if (socket.state != Sock::Connecting)
                    break;
                socket.state = x.sock = Sock::Connected;
                socket.events->Winsock_Connect();
                x.sent << allowed[0];
                break;
            case Event::Receive:
            case Event::ServerMessage: {
                QByteArray bytes;
                if (e == Event::Receive) {
                    bytes = in.piece();
                } else {
                    bytes = kServerMessages[in.byte() % std::size(kServerMessages)];
                    const int cut = in.byte();
                    bytes = cut < bytes.size() ? bytes.left(cut) : bytes + in.bytes(cut % 32);
                }
                if (socket.state != Sock::Connected || bytes.isEmpty())
                    break;  // the socket hands over no empty receive, and none on a closed connection
                socket.events->Winsock_DataArrival(bytes);
                received(WireMessage::decode(bytes), x);
                break;
            }
            case Event::ServerCloses:
                if (socket.state != Sock::Connected)
                    break;
                socket.events->Winsock_Close();
                closes(false);
                if (preLogin)
                    x.boxes.append({QStringLiteral("连接断开！"), QStringLiteral("断开"),
                                    MsgIcon::Information, MsgButtons::Ok});
                break;
            case Event::Refused:
            case Event::OtherError: {
                const QString description = QString::fromUtf8(in.piece());
                if (socket.state == Sock::Closed)
                    break;
                socket.events->Winsock_Error(e == Event::Refused ? SessionSocket::ErrorKind::ConnectionRefused
                                                                 : SessionSocket::ErrorKind::Other,
                                             description);
                closes(true);
                if (check) {
                    x.checkResult = CheckUserForm::kNoConnection;
                } else {
                    x.connectString.clear();
                    x.boxes.append({e == Event::Refused
                                        ? QStringLiteral("无法连接服务器，请查看服务器是否启动！")
                                        : description + QStringLiteral("，不能登录系统！"),
                                    QStringLiteral("提示"), MsgIcon::Information, MsgButtons::Ok});
                }
                break;
            }
            case Event::Tick: {
                const int frame = form->frame();
                ticking = true;
                form->Timer1_Timer();
                ticking = false;
                FUZZ_CHECK(form->frame() == frame % HandshakeForm::kFrames + 1, "the animation advances");
                break;
            }
            case Event::Key: {
                const int key = in.byte();
                form->Form_KeyPress(key);
                if (preLogin && key == 'q') {
                    closes(true);
                    ++x.settingsShown;
                    ++x.mainRuns;
                    x.endsProgram = x.endsProgram || mainEnded;
                }
                break;
            }
            case Event::MouseUp: {
                const int button = in.byte() % 4, shift = in.byte() % 8;
                form->Form_MouseUp(button, shift);
                if (preLogin && button == 1 && shift == 2) {
                    closes(false);
                    x.connectString.clear();
                    ++x.settingsShown;
                }
                break;
            }
            case Event::OperatorCloses:
                form->Form_QueryUnload(0);
                form->Unload();
                closes(true);
                if (preLogin)
                    x.connectString = QStringLiteral("'ERROR'");
                break;
            case Event::Count:
                break;
        }
        --depth;
        return x;
    }

    // What a received message must do.
    void received(const QString& m, State& x) {
        const QString tag = m.left(8).toUpper(), payload = m.mid(8);
        if (check) {
            if (tag == QLatin1String("FAILURE:")) {
                x.checkResult = payload;
                results << payload;
                x.sent << allowed[1];
            } else {
                x.sock = Sock::Closed;
                x.unloaded = true;
            }
            return;
        }
        const auto reply = [&](const QString& r) { x.sent << WireMessage::encode(r); };
        const auto end = [&] {
            x.endsProgram = x.unloaded = true;
            x.sock = Sock::Closed;
        };
        if (tag == QLatin1String("[MICROSO")) {
            x.dbType = m;
            reply(WireMessage::Connect);
        } else if (tag == QLatin1String("CONNECT:")) {
            x.connectString = payload;
            reply(WireMessage::DbName);
        } else if (tag == QLatin1String("DBNAME$:")) {
            x.dbName = payload;
            reply(WireMessage::KxEnd);
        } else if (tag == QLatin1String("SUCCESS:")) {
            x.preLoginOK = true;
            reply(WireMessage::SuccessReply);
        } else if (tag == QLatin1String("CLOSED$:")) {
            x.unloaded = true;
            x.sock = Sock::Closed;
        } else if (tag == QLatin1String("RESTART:")) {
            const int order = QStringLiteral("0123").indexOf(m.back());
            if (order == 3)
                end();
            else if (order >= 0)
                x.orders << QStringList{"LogOff force", "ShutDown force", "Restart force"}[order];
        } else if (tag == QLatin1String("CONNFAIL")) {
            x.boxes.append({QStringLiteral("数据库连接失败，请检查服务器是否成功连接数据库！"),
                            QStringLiteral("提示信息"), MsgIcon::Information, MsgButtons::Ok});
            end();
        } else if (tag == QLatin1String("CONNING:")) {
            x.boxes.append({payload, QStringLiteral("提示信息"), MsgIcon::Question, MsgButtons::RetryCancel});
            if (answer == MsgAnswer::Cancel) {
                end();
            } else {
                x.sock = Sock::Connecting;
                ++x.connects;
            }
        }
    }

    fuzz::Script in;
    FakeSocket socket;
    test::RecordingShutDown orders;
    std::unique_ptr<HandshakeForm> form;
    PreLoginForm* preLogin = nullptr;
    CheckUserForm* check = nullptr;
    QList<QByteArray> allowed;  // what the client may send; the first is its opening
    QStringList results;        // every result a "Failure:" brought
    QVector<Box> boxes;
    int settingsShown = 0, mainRuns = 0;
    MsgAnswer answer = MsgAnswer::Ok;  // to the last question
    bool mainEnded = false;            // the last nested start-up ended the program
    bool ticking = false;
    int depth = 0, nested = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Conversation(data, size).run();
    return 0;
}
