// Writes the demo collection and, beside it, a generated file of a big deck
// and a deck of 70 chips into a lookup folder:
//   make-generated-collection <lookup folder> <chips>
// with 1 to GeneratedCollection::MaxChips chips.
// The generated file lands in <lookup folder>/Contents/Resources/generated-<chips>.db.

#include "GeneratedCollection.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>

int main(int argc, char *argv[])
{
    // No argument is an option: "--help" is never taken for a folder. Read
    // before the application object, which takes Qt's own options away.
    const bool option = std::any_of(argv + 1, argv + argc, [](const char *argument) { return argument[0] == '-'; });
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    bool isNumber = false;
    const int chips = arguments.value(2).toInt(&isNumber);
    if (option || arguments.size() != 3 || !isNumber || chips < 1 || chips > GeneratedCollection::MaxChips) {
        err << "usage: make-generated-collection <lookup folder> <chips>\n"
            << "  <chips>: a whole number from 1 to " << GeneratedCollection::MaxChips << Qt::endl;
        return 2;
    }
    QString error;
    if (!GeneratedCollection::writeBesideDemo(arguments.at(1), chips, &error)) {
        err << "make-generated-collection: " << error << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << GeneratedCollection::filePath(arguments.at(1), chips) << Qt::endl;
    return 0;
}
