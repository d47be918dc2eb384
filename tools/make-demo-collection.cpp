// Writes the demo collection into a lookup folder:
//   make-demo-collection <lookup folder>
// The collection file lands in <lookup folder>/Contents/Resources/demo.db.

#include "DemoCollection.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        err << "usage: make-demo-collection <lookup folder>" << Qt::endl;
        return 2;
    }
    QString error;
    if (!DemoCollection::write(arguments.at(1), &error)) {
        err << "make-demo-collection: " << error << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << DemoCollection::filePath(arguments.at(1)) << Qt::endl;
    return 0;
}
