#pragma once

#include <QString>

// Where the upload dialog keeps a password the user asked it to remember:
// the desktop's secret store in the program, a fake in the tests, which must
// not depend on a running secret service.
class PasswordStore
{
public:
    virtual ~PasswordStore() = default;

    // The stored password of the account, or the empty text.
    virtual QString read(const QString& account) = 0;
    // True when the store took it.
    virtual bool write(const QString& account, const QString& password) = 0;
    virtual void remove(const QString& account) = 0;
};
