#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace ztgl {

// One copy of the program per user and key: the first acquire wins until the process ends
// (or the object is destroyed); a stale lock of a crashed copy is taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString& key);
    ~SingleInstance();
    // True when this process now holds the instance; false when another copy runs.
    bool acquire();

private:
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
};

}  // namespace ztgl
