#pragma once

#include <QByteArray>
#include <QVector>

namespace ztgl::test {

// Sets or clears environment variables for the life of the object and restores them after.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it) {
            if (it->wasSet)
                qputenv(it->name.constData(), it->value);
            else
                qunsetenv(it->name.constData());
        }
    }

    void set(const char* name, const QByteArray& value) {
        save(name);
        qputenv(name, value);
    }
    void unset(const char* name) {
        save(name);
        qunsetenv(name);
    }

private:
    struct Saved {
        QByteArray name;
        bool wasSet;
        QByteArray value;
    };
    void save(const char* name) { m_saved.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)}); }
    QVector<Saved> m_saved;
};

}  // namespace ztgl::test
