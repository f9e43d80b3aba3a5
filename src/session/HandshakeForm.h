#pragma once

#include <QString>
#include <functional>

#include "process/UiPort.h"
#include "session/SessionSocket.h"
#include "style/TwipsRect.h"

namespace ztgl {

// What the two handshake windows w_PreLogin and w_CheckUser share: the socket, the look (title
// line, status text, bitmap 103, the 11-frame animation on a 100 ms timer, back colour, white
// frame shape), unloading, and a run without a screen for ztgl-admin and the tests.
// The window's widget (or the run without a screen) drives it and follows the View calls.
class HandshakeForm : public ModalForm, protected SessionSocket::Events {
public:
    class View {
    public:
        virtual ~View() = default;
        // Shows animation frame `frame` (1 to kFrames) in the visible picture.
        virtual void showFrame(int frame) = 0;
        virtual void unload() = 0;
        // The server closed the connection: from here only the operator ends the window.
        virtual void waitingForOperator() {}
    };

    static constexpr int kFrames = 11;
    static constexpr int kTimerInterval = 100;  // ms
    // Client area and places, in twips.
    static constexpr int kWidth = 5400;
    static constexpr int kHeight = 2250;
    static style::TwipsRect frameRect();      // Shape1, the white frame
    static style::TwipsRect pictureRect();    // Image2, bitmap 103
    static style::TwipsRect titleRect();      // Label2
    static style::TwipsRect statusRect();     // Label1
    static style::TwipsRect animationRect();  // Image1

    explicit HandshakeForm(SessionSocket& socket);
    ~HandshakeForm() override;

    void setView(View* view) { m_view = view; }

    virtual void Form_Load() = 0;
    // On first showing and whenever the window becomes the active one again.
    virtual void Form_Activate() = 0;
    // One tick of Timer1: shows the current frame, lets pending window messages run, advances.
    void Timer1_Timer();
    // Keys the window receives itself (as their character codes), the release of a mouse button
    // (button 1 = left; shift 2 = Ctrl alone), and the close button (unload mode 0).
    virtual void Form_KeyPress(int keyAscii);
    virtual void Form_MouseUp(int button, int shift);
    virtual void Form_QueryUnload(int unloadMode);
    // Unloads the window: the socket is closed, the widget goes.
    void Unload();

    bool isUnloaded() const { return m_unloaded; }
    int frame() const { return m_frame; }
    // Label2 and Label1.
    virtual QString title() const = 0;
    virtual QString status() const = 0;

    // Runs the window without a screen until it unloads. Where the window would wait for its
    // operator (the server closed the connection, or `timeoutMs` passed without an end) the
    // operator's close is taken: Form_QueryUnload(0), then Unload.
    enum class RunEnd { Unloaded, ServerClosed, TimedOut };
    RunEnd runWithoutScreen(int timeoutMs);

    // The port text as a number: digits only (blanks around are trimmed), at most 65535.
    // Throws RuntimeError 13 for a text that is no number, 380 for one out of range.
    static quint16 RemotePortValue(const QString& text);

protected:
    // Load steps shared by both windows: close the socket when open, then the server address and
    // port of gServerIP and gServerPort (trimmed) as remote host and port. Errors (a port that is
    // no number) are ignored, as during every load.
    void prepareSocket();
    // An address without "." or shorter than 2 characters cannot be a server's.
    static bool addressUnusable();
    void send(const QString& message);
    void serverClosed();
    // Runs an event handler: a run-time error is shown with the system's text alone (title "提示").
    void trapped(const std::function<void()>& handler);

    SessionSocket& m_socket;
    int m_frame = 1;

private:
    View* m_view = nullptr;
    bool m_unloaded = false;
    bool m_serverClosed = false;
};

}  // namespace ztgl
