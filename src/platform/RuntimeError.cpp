#include "platform/RuntimeError.h"

namespace ztgl {

RuntimeError::RuntimeError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}

RuntimeError::RuntimeError(int number) : RuntimeError(number, standardText(number)) {}

QString RuntimeError::standardText(int number) {
    switch (number) {
        case InvalidProcedureCall: return QStringLiteral("无效的过程调用或参数");
        case Overflow: return QStringLiteral("溢出");
        case 9: return QStringLiteral("下标越界");
        case 11: return QStringLiteral("除数为零");
        case TypeMismatch: return QStringLiteral("类型不匹配");
        case 52: return QStringLiteral("文件名或文件号错误");
        case FileNotFound: return QStringLiteral("文件未找到");
        case PermissionDenied: return QStringLiteral("拒绝的权限");
        case PathFileAccess: return QStringLiteral("路径/文件访问错误");
        case PathNotFound: return QStringLiteral("路径未找到");
        case ObjectNotSet: return QStringLiteral("对象变量或 With 块变量未设置");
        case DatabaseError: return QStringLiteral("未指定的错误");
        default: return QStringLiteral("应用程序定义的错误或对象定义的错误");
    }
}

QString errorText(const std::exception& e) {
    if (auto* re = dynamic_cast<const RuntimeError*>(&e)) return re->description();
    return QString::fromUtf8(e.what());
}

}  // namespace ztgl
