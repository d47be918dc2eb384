#ifndef HUEFORM_PICTURESINK_H
#define HUEFORM_PICTURESINK_H

#include <QString>
#include <QStringList>

class QWidget;

// Where render-views puts its pictures: one PNG per view, named after it.
class PictureSink
{
public:
    explicit PictureSink(const QString &folder);

    // Lays the widget out at its current size, renders it and writes
    // "<folder>/<name>.png". Failures are counted and reported.
    void save(const QString &name, QWidget *widget);

    QStringList written() const { return m_written; }
    QStringList failed() const { return m_failed; }

private:
    QString m_folder;
    QStringList m_written;
    QStringList m_failed;
};

#endif // HUEFORM_PICTURESINK_H
