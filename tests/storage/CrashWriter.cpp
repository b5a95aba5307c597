// The child of TestCrashSafety: writes through the program's own writers, round after round, until it is killed.
// It starts the way the program does (removing what earlier writes left) and prints "<writer> <round>" once each
// write has returned, so the parent knows which writes must have survived the kill.

#include "cards/CardFiles.h"
#include "cards/CardTables.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "reminders/PhraseFile.h"
#include "reminders/ReminderTable.h"
#include "storage/Leftovers.h"
#include "storage/SettingsFile.h"
#include "storage/TableQuery.h"

#include <QCoreApplication>
#include <cstdio>

#include "CrashRounds.h"

namespace {

void report(const char* writer, int round)
{
    std::printf("%s %d\n", writer, round);
    std::fflush(stdout);
}

void run()
{
    Leftovers::removeAtStart();
    SettingsFile settings(AppPaths::settingsFilePath());
    int round = settings.readInteger(CrashRounds::section(), CrashRounds::key(), 0) + 1;
    report("ready", round);
    for (;; ++round) {
        if (round % 2 == 0) {
            settings.writeInteger(CrashRounds::section(), CrashRounds::key(), round);
        } else {
            // As a running countdown writes: from the file read once, leaving the rename to reach the disk later.
            SettingsFile counting(AppPaths::settingsFilePath());
            counting.hold();
            counting.setFolderSync(false);
            counting.writeInteger(CrashRounds::section(), CrashRounds::key(), round);
        }
        report("settings", round);

        TableQuery reminder;
        reminder.setSql(ReminderTable::insert(AppPaths::reminderTablePath()));
        reminder.param(3).setAsString(CrashRounds::reminderText(round));
        reminder.execSql();
        report("table", round);

        PhraseFile::write(CrashRounds::phrases(round));
        report("phrases", round);

        TableQuery card;
        CardTables::setStatement(card, CardTables::insertCard());
        Card row;
        row.classify = QStringLiteral("朋友");
        row.name = CrashRounds::cardName(round);
        CardTables::bindCard(card, row);
        card.execSql();
        report("card", round);

        CardFiles::backup(CrashRounds::backupFile());
        report("backup", round);

        if (!CardFiles::restore(CrashRounds::backupFile()))
            throw AppError(QStringLiteral("the restore of round %1 failed").arg(round));
        report("restore", round);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: CrashWriter <program folder>\n");
        return 2;
    }
    AppPaths::setAppDir(QString::fromLocal8Bit(argv[1]));
    try {
        run();
    } catch (const AppError& error) {
        std::fprintf(stderr, "%s\n", error.what());
    }
    return 1;
}
