#pragma once

#include "PasswordStore.h"

// Passwords in the desktop's secret store (Secret Service, KWallet, the
// Windows credential store) through QtKeychain, under the service "Kelvane".
class KeychainPasswordStore final : public PasswordStore
{
public:
    QString read(const QString& account) override;
    bool write(const QString& account, const QString& password) override;
    void remove(const QString& account) override;
};
