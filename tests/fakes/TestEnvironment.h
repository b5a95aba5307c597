#pragma once

#include "FakeClock.h"
#include "FakeDesktop.h"
#include "FakeDialogs.h"
#include "FakeShell.h"

#include <QStringList>
#include <QTemporaryDir>

/// A temporary program folder with data/, sound/, skin/ and bak/, and the Clock, Dialogs, Shell and Desktop fakes
/// installed for the life of the object. Errors reported without ending a handler are collected in `errors`.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    /// The program folder, with a trailing "/".
    QString appDir() const;
    QString path(const QString& relative) const { return appDir() + relative; }
    /// Writes a file in the program folder (bytes as given).
    void writeFile(const QString& relative, const QByteArray& content) const;
    QByteArray readFile(const QString& relative) const;

    FakeClock clock;
    FakeDialogs dialogs;
    FakeShell shell;
    FakeDesktop desktop;
    QStringList errors;

private:
    QTemporaryDir m_dir;
};
