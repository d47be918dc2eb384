#ifndef HUEFORM_MAINWIDGETFIXTURE_H
#define HUEFORM_MAINWIDGETFIXTURE_H

#include "FixtureFolder.h"

#include <QColor>
#include <QString>
#include <QUuid>

// Collections for the main widget's tests, with the solid-colour theme of
// FixtureTheme, in a temporary lookup folder:
//  - Alpha (normal, exterior filter, every tab page, text export, header
//    link, own banner, Dizeviz watch on dizevizFolder()): cards 1 to 6 on
//    segments 1, 3, 5, 7, 9, 11 with moods fresh, calm (exterior), offwhite,
//    neutral, warm, rich; four chips each (card 6: see chipColour); one
//    texture on card 1, two on card 2; a trend group of two colours;
//  - Bravo (normal, no exterior filter, mood strip hidden, no schemes, no
//    banner or header link, a short copyright text, a help link into the
//    plug-in folder written "%app%"): one card of one chip;
//  - Sarnex (card type "sarnex", a help page on the web): two cards of three chips;
//  - Plain (card type 0, a help link that is no address): one card without chips;
//  - Scratch, in a file of its own that tests may change: one card of four chips.
class MainWidgetFixture
{
public:
    static const QUuid Alpha;
    static const QUuid Bravo;
    static const QUuid Sarnex;
    static const QUuid Plain;
    static const QUuid Scratch;
    // A collection uuid that no file holds.
    static const QUuid Missing;

    // Card 6 of Alpha: chip 1 is (102, 100, 100), chip 2 (100, 100, 100),
    // stored in that order; chip 3 carries the Lab of ghostColour() but an
    // unrelated RGB.
    static QColor chipColour(const QUuid &collection, int page, int row);
    static QString chipCode(const QUuid &collection, int page, int row);
    static QColor ghostColour();
    static QColor bannerColour();
    static QString headerLink();
    static QString longCopyrightText();
    static QString shortCopyrightText();

    // TestEnvironment::isolate() with its folders in memory where the system
    // has a memory file system: the main widget writes the settings store at
    // every step, and each write of the store is flushed to the disk.
    static void isolate();

    // Writes the files and starts the services on them, Alpha current.
    bool write();
    QString error() const { return m_error; }
    QString dizevizFolder() const { return m_folder.filePath(QStringLiteral("dizeviz")); }
    QString dizevizFile() const { return dizevizFolder() + QStringLiteral("/measure.cxf"); }
    QString scratchFile() const { return m_folder.filePath(QStringLiteral("scratch.db")); }
    const FixtureFolder &folder() const { return m_folder; }

    // Makes the collection the current one on card `page` and row `row`,
    // segment `segment`, with the filters given; every other browsing value
    // of the collection is forgotten.
    static void browse(const QUuid &collection, int page = 1, int row = 1, int segment = 1, int mood = 7,
                       bool exterior = false);

private:
    FixtureFolder m_folder;
    QString m_error;
};

#endif // HUEFORM_MAINWIDGETFIXTURE_H
