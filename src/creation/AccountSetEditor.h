#pragma once

#include <QString>

#include "startup/UiPort.h"

namespace ztgl {

class AccountSetRows;

// The rules of the account-set editor frmZTGLXZ: new or modify mode, the checks, and saving.
// The list window sets EditId and IsNew and shows it modally through the port.
class AccountSetEditor : public ModalForm {
public:
    explicit AccountSetEditor(AccountSetRows* list);
    ~AccountSetEditor() override;
    QString formName() const override { return QStringLiteral("frmZTGLXZ"); }

    QString EditId;
    bool IsNew = true;

private:
    AccountSetRows* m_list;
};

}  // namespace ztgl
