#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

#include "AccountSetFolder.h"
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

// Records the heading and the step text of the progress window ("heading|step") at every change,
// and its repaints, while it is shown.
class ProgressSteps final : public ProgressWindow::View {
public:
    explicit ProgressSteps(QStringList& steps) : m_steps(steps) {}
    void progressChanged(const ProgressWindow& w) override {
        const QString s =
            w.caption(ProgressWindow::Label3) + QLatin1Char('|') + w.caption(ProgressWindow::Label1);
        if (m_steps.isEmpty() || m_steps.back() != s)
            m_steps << s;
    }
    void repaintNow() override { m_steps << QStringLiteral("repaint"); }
    // Makes every showing of `window` record into `steps`.
    static void attach(ProgressWindow& window, QStringList& steps) {
        window.setViewFactory([&steps](ProgressWindow&) { return std::make_unique<ProgressSteps>(steps); });
    }

private:
    QStringList& m_steps;
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
