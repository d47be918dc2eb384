#ifndef PATHWARDEN_INSTALLEREXCEPTION_H
#define PATHWARDEN_INSTALLEREXCEPTION_H

#include <QString>

#include <exception>

// The exception that the installer's frameworks raise: a malformed pattern
// or predicate, a broken property list. It carries a name and a reason;
// its description is what the log shows.
class InstallerException : public std::exception
{
public:
    InstallerException(const QString &name, const QString &reason);

    QString name() const;
    QString reason() const;
    // "name: reason", the text logged for it.
    QString description() const;
    const char *what() const noexcept override;

private:
    QString m_name;
    QString m_reason;
    QByteArray m_what;
};

#endif // PATHWARDEN_INSTALLEREXCEPTION_H
