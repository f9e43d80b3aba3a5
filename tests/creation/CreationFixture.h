#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>
#include <memory>

#include "ProgramFolder.h"
#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "ScriptedServer.h"
#include "ScriptedTemplate.h"
#include "ShownLines.h"
#include "ado/DataType.h"
#include "creation/AccountSetEditor.h"
#include "creation/AccountSetRows.h"
#include "creation/DatabaseCreation.h"
#include "creation/ProgressWindow.h"
#include "creation/TemplateDatabase.h"
#include "db/PubSql.h"
#include "operators/SetMima.h"
#include "process/Globals.h"

namespace ztgl::test {

using PW = ProgressWindow;

// Records the progress window at every change while it is shown: "heading|step" and its repaints, or
// what `format` makes of the window (then without repaints).
class ProgressSteps final : public ProgressWindow::View {
public:
    using Format = std::function<QString(const ProgressWindow&)>;
    ProgressSteps(QStringList& steps, Format format) : m_steps(steps), m_format(std::move(format)) {}
    void progressChanged(const ProgressWindow& w) override {
        const QString s =
            m_format ? m_format(w) : w.caption(PW::Label3) + QLatin1Char('|') + w.caption(PW::Label1);
        if (m_steps.isEmpty() || m_steps.back() != s)
            m_steps << s;
    }
    void repaintNow() override {
        if (!m_format)
            m_steps << QStringLiteral("repaint");
    }
    // Makes every showing of `window` record into `steps`.
    static void attach(ProgressWindow& window, QStringList& steps, Format format = {}) {
        window.setViewFactory(
            [&steps, format](ProgressWindow&) { return std::make_unique<ProgressSteps>(steps, format); });
    }

private:
    QStringList& m_steps;
    Format m_format;
};

// What the editor did to the list window.
class RecordingRows final : public AccountSetRows {
public:
    void appendNewSet(const QString& id, const QString& name, const QString& db,
                      const QString& date) override {
        calls << QStringList{"append", id, name, db, date};
    }
    void renameCurrentSet(const QString& name) override { calls << QStringList{"rename", name}; }
    QVector<QStringList> calls;
};

}  // namespace ztgl::test
