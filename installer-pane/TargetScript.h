#ifndef PATHWARDEN_TARGETSCRIPT_H
#define PATHWARDEN_TARGETSCRIPT_H

#include <QByteArray>
#include <QString>

// The small shell script that tells the package's own scripts, which run as
// root, the folder the user chose: it prints the folder and nothing else,
// and no folder name can make it run anything.
class TargetScript
{
public:
    // The script for folder: `echo "FOLDER"` for a plain absolute folder,
    // else `printf '%s\n' 'FOLDER'` with every ' written as '\''. Empty for a
    // folder that no line of the script can carry (a line feed, a carriage
    // return or NUL in it).
    static QByteArray scriptText(const QString &folder);
    // Whether name is a plain file name that stays inside the script folder.
    static bool isValidScriptName(const QString &name);
    // Writes the script for targetFolder as scriptFolder/scriptName,
    // atomically and with mode 0755. False with *error set on failure, and
    // then nothing is left behind.
    static bool write(const QString &scriptFolder, const QString &scriptName, const QString &targetFolder,
                      QString *error);

private:
    TargetScript() = default;
};

#endif // PATHWARDEN_TARGETSCRIPT_H
