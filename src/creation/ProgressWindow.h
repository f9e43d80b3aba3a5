#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace ztgl {

// The state of frmProgressBar, the small borderless window shown while a new account set is
// made. It has no logic beyond its load state: the creation code writes its texts and moves its
// two bars, and a view (the widget, or a console line) shows them.
class ProgressWindow {
public:
    enum Part { Label1, Label2, Label3, ProgressBar1, ProgressBar2 };

    // What shows the window. Notified after every change; repaintNow() asks for an immediate
    // repaint (Frame4.Refresh), otherwise the view repaints when pending events run.
    class View {
    public:
        virtual ~View() = default;
        virtual void progressChanged(const ProgressWindow& window) = 0;
        virtual void repaintNow() = 0;
    };
    using ViewFactory = std::function<std::unique_ptr<View>(ProgressWindow&)>;

    ProgressWindow();
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Who shows the window each time it is loaded; none: the state is kept without a view.
    void setViewFactory(ViewFactory factory) { m_factory = std::move(factory); }

    // Loads the window afresh (both bars 0 of 0..100 and hidden, Label2 hidden, every caption
    // empty) and shows it, not modal.
    void Show();
    // Repaints the window at once (Frame4.Refresh).
    void Refresh();
    void Unload();
    bool isLoaded() const { return m_loaded; }

    void setCaption(Part label, const QString& text);
    QString caption(Part label) const;
    // Label2, ProgressBar1 and ProgressBar2 can be hidden; the other parts are always visible.
    void setVisible(Part part, bool visible);
    bool isVisible(Part part) const;

    // The bars. A value outside Min..Max is shown at the nearer end instead of failing: the
    // window is only a display, and a display must never stop the work it reports on.
    void setMax(Part bar, int max);
    void setMin(Part bar, int min);
    void setValue(Part bar, int value);
    int max(Part bar) const;
    int min(Part bar) const;
    int value(Part bar) const;

private:
    struct Bar {
        int max = 100;
        int min = 0;
        int value = 0;
        bool visible = false;
    };
    Bar& bar(Part part);
    const Bar& bar(Part part) const;
    void changed();

    QString m_caption[3];
    bool m_label2Visible = false;
    Bar m_bars[2];
    bool m_loaded = false;
    ViewFactory m_factory;
    std::unique_ptr<View> m_view;
};

}  // namespace ztgl
