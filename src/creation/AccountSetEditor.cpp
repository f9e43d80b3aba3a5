#include "creation/AccountSetEditor.h"

namespace ztgl {

AccountSetEditor::AccountSetEditor(AccountSetRows* list) : m_list(list) {}

AccountSetEditor::~AccountSetEditor() = default;

}  // namespace ztgl
