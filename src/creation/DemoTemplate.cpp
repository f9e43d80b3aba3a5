// Placeholder until the demo template lands.
#include "creation/DemoTemplate.h"

namespace ztgl {
bool WriteDemoTemplate(const QString&, QString* error) {
    if (error) *error = QStringLiteral("demo template not available yet");
    return false;
}
}  // namespace ztgl
