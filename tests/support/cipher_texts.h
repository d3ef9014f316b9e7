#pragma once

#include <QByteArray>
#include <QFile>
#include <QtGlobal>

#include <string>

// The Italian sample the cipher tests encrypt, some 1,600 letters written for them.
inline QByteArray ItalianSample() {
    QFile file(QStringLiteral(TALLIVO_TEST_DATA "/cipher/italiano.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot read the Italian sample");
    }
    return file.readAll();
}

// Encrypts with a periodic shift the plain way: each ASCII letter moved forward by its
// column's key letter (a = 0), case kept; a one-letter keyword is a Caesar shift.
inline QByteArray Encrypt(const QByteArray& plain, const std::string& keyword) {
    QByteArray cipher = plain;
    std::size_t n = 0;
    for (char& c : cipher) {
        const bool lower = c >= 'a' && c <= 'z';
        if (lower || (c >= 'A' && c <= 'Z')) {
            const char base = lower ? 'a' : 'A';
            c = char(base + (c - base + (keyword[n++ % keyword.size()] - 'a')) % 26);
        }
    }
    return cipher;
}
