#include "db/PasswordHash.h"

#include <sodium.h>

#include "db/CDbException.h"

namespace {

struct Limits {
    unsigned long long ops;
    size_t memory;
};

Limits CurrentLimits() {
    if (qgetenv("HARBOR_PWHASH_FAST") == "1")
        return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

void InitSodium() {
    static const int ready = sodium_init();
    if (ready < 0)
        throw CDbException(QStringLiteral("密码库 libsodium 不能初始化"));
}

} // namespace

QString HashPassword(const QString& password) {
    InitSodium();
    const QByteArray bytes = password.toUtf8();
    const Limits limits = CurrentLimits();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                          limits.ops, limits.memory) != 0)
        throw CDbException(QStringLiteral("密码无法加密保存(内存不足)"));
    return QString::fromLatin1(out);
}

bool VerifyPassword(const QString& encoded, const QString& password) {
    InitSodium();
    if (password.size() > kMaxPasswordLength)
        return false;
    const QByteArray hash = encoded.toLatin1();
    if (hash.isEmpty() || hash.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray bytes = password.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), bytes.constData(),
                                    static_cast<unsigned long long>(bytes.size())) == 0;
}

bool PasswordNeedsRehash(const QString& encoded) {
    InitSodium();
    const QByteArray hash = encoded.toLatin1();
    const Limits limits = CurrentLimits();
    return crypto_pwhash_str_needs_rehash(hash.constData(), limits.ops, limits.memory) != 0;
}
