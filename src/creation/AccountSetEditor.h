#pragma once

#include <QString>
#include <array>

#include "creation/ProgressWindow.h"
#include "creation/TargetConnection.h"
#include "process/UiPort.h"

namespace ztgl {

class AccountSetRows;

// The rules of the account-set editor frmZTGLXZ: new or modify mode, the checks, and saving.
// The list window sets EditId and IsNew and shows it modally through the port; whoever shows
// it (the widget, a test, ztgl-admin) runs Form_Load first, then forwards the operator's typing
// into TxtDB and the buttons to command1_Click.
class AccountSetEditor : public ModalForm {
public:
    // What shows the editor.
    class View {
    public:
        virtual ~View() = default;
        // Texts, caption, availability, visibility or the unloaded state changed.
        virtual void editorChanged() = 0;
        // The rules put the focus into TxtDB(index).
        virtual void focusBox(int index) = 0;
    };

    // Indexes of the input boxes TxtDB.
    enum Box { BoxName = 0, BoxUser = 1, BoxPassword = 2, BoxConfirm = 3 };

    explicit AccountSetEditor(AccountSetRows* list);
    ~AccountSetEditor() override;
    QString formName() const override { return QStringLiteral("frmZTGLXZ"); }

    QString EditId;
    bool IsNew = true;
    // The input boxes: set name, default user (design text "管理员"), password, password again.
    std::array<QString, 4> TxtDB;
    // The creation date shown, "yyyy-MM-dd".
    QString lblCreateTime;

    void setView(View* view) { m_view = view; }

    // Loads the dialog for its mode. Modify: a set that no longer exists is reported and the
    // dialog unloads; so does one whose data cannot be read (reported as "LoadSetInfo():" or
    // "LoadDefaultUser():" + error text): nothing is written then.
    void Form_Load();
    QString caption() const;
    // 0 closes the dialog, 1 confirms (Command_OK); other indexes do nothing.
    void command1_Click(int index);

    // The validation before anything is written; the first failing check shows its message
    // and puts the focus into its box.
    bool CheckInput();
    // Creates or modifies the set (see the .cpp for the order of the steps).
    void Command_OK();

    void LoadSetInfo();
    void LoadDefaultUser(const QString& databaseName);
    bool UserNameExists(const QString& databaseName, const QString& userName);

    // "BK" + the Id padded with zeros to three characters; "" for an Id of any other length.
    static QString FormatSetCode(const QString& id);
    // The manager database name, "_" and the set code.
    static QString DatabaseNameFor(const QString& id);

    // Shown state.
    bool isEnabled() const { return m_enabled; }
    bool isVisible() const { return m_visible; }
    bool isUnloaded() const { return m_unloaded; }
    int focusedBox() const { return m_focus; }
    // True once Command_OK has saved the set and closed the dialog.
    bool saved() const { return m_saved; }
    // The modified set's database name (its ZTLJ).
    const QString& setDatabaseName() const { return m_setDatabaseName; }
    ProgressWindow& progress() { return m_progress; }
    TargetConnection& target() { return m_target; }

private:
    bool fail(const QString& message, int box);
    void setFocus(int box);
    void setAvailable(bool available);
    void setShown(bool visible);
    void Unload();
    void windUp(bool catalogueWritten, const QString& databaseName);
    void RefreshListRow(const QString& databaseName);
    void changed();

    AccountSetRows* m_list;
    View* m_view = nullptr;
    ProgressWindow m_progress;
    TargetConnection m_target;
    QString m_setDatabaseName;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_unloaded = false;
    bool m_saved = false;
    int m_focus = BoxName;
};

}  // namespace ztgl
