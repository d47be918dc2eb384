#ifndef HUEFORM_PICKERHOSTRUNNER_H
#define HUEFORM_PICKERHOSTRUNNER_H

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// Runs the stand-in host on the plug-in folder of the build tree, in a
// process of its own on the offscreen platform, with the demo collection
// installed where the plug-in looks for collections (the first XDG data
// folder) and a home, settings and data folder of its own per test. The
// demo's interior deck watches a Dizeviz folder of the runner's own.
class PickerHostRunner
{
public:
    // Runs in the host's process between fork and exec, to take from it
    // what a user would not have (async-signal-safe calls only).
    using ChildSetUp = std::function<void()>;

    struct Result {
        int exitCode = -1; // -1 also when the host had to be killed
        QString output;
        QString errors;
        qint64 milliseconds = 0;
    };

    // Writes the demo collection; false and the reason on failure.
    bool setUp(QString *error);
    // The collection lookup folder the plug-in finds.
    QString lookupFolder() const;
    // The folder the interior deck watches for a measurement; it exists
    // before any picker opens, as a watched folder must.
    QString dizevizFolder() const;
    // A fresh home for the next runs.
    bool newHome();
    QString home() const { return m_home ? m_home->path() : QString(); }
    QString dataHome() const { return home() + QStringLiteral("/data"); }
    QString configHome() const { return home() + QStringLiteral("/config"); }

    // Variables to set for a run over the runner's own; a null value
    // removes the variable.
    using Environment = QMap<QString, QString>;

    // Without the collection the machine-wide folder is an empty one.
    Result run(const QStringList &arguments, bool withCollection = true, const ChildSetUp &childSetUp = {},
               const Environment &changes = {}) const;
    // Whether a program started as the host would be, after childSetUp,
    // can make a file in that folder.
    bool childCanWriteInto(const QString &folder, const ChildSetUp &childSetUp) const;

private:
    QTemporaryDir m_machine;
    QTemporaryDir m_emptyMachine;
    std::unique_ptr<QTemporaryDir> m_home;
};

#endif // HUEFORM_PICKERHOSTRUNNER_H
