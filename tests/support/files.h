#pragma once

#include <gtest/gtest.h>

#include <QFile>

// A file's whole content; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces a file's content; returns its path.
inline QString writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
    return path;
}
