#include "KeychainPasswordStore.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace {

const QString Service = QStringLiteral("Kelvane");

// QtKeychain's jobs report asynchronously; the dialog needs the answer now.
bool runToEnd(QKeychain::Job& job)
{
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    job.start();
    loop.exec();
    return job.error() == QKeychain::NoError;
}

} // namespace

QString KeychainPasswordStore::read(const QString& account)
{
    QKeychain::ReadPasswordJob job(Service);
    job.setKey(account);
    return runToEnd(job) ? job.textData() : QString();
}

bool KeychainPasswordStore::write(const QString& account, const QString& password)
{
    QKeychain::WritePasswordJob job(Service);
    job.setKey(account);
    job.setTextData(password);
    return runToEnd(job);
}

void KeychainPasswordStore::remove(const QString& account)
{
    QKeychain::DeletePasswordJob job(Service);
    job.setKey(account);
    runToEnd(job);
}
