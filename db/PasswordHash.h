#pragma once

#include <QString>

// Operators' passwords as libsodium Argon2id strings (salt and parameters inside), so the
// parameters can be raised later and an old string replaced at the next sign-in.
// The interactive limits; with HARBOR_PWHASH_FAST=1 in the environment the minimum ones (tests).

// Longest password accepted, in UTF-16 units; anything longer is simply a wrong password.
constexpr int kMaxPasswordLength = 256;

// The encoded string for the password; raises CDbException when libsodium cannot work.
QString HashPassword(const QString& password);
// True when the password matches the encoded string (false for any malformed string).
bool VerifyPassword(const QString& encoded, const QString& password);
// True when the string was made with other limits than the ones in use now.
bool PasswordNeedsRehash(const QString& encoded);
