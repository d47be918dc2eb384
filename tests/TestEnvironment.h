#ifndef HUEFORM_TESTENVIRONMENT_H
#define HUEFORM_TESTENVIRONMENT_H

#include <QString>

// Points the settings store and the XDG folders of the running test at a
// temporary folder, so that a test never reads or writes the user's own
// settings and data. Call it first in initTestCase.
class TestEnvironment
{
public:
    static void isolate();
    // The temporary root that isolate() set up.
    static QString root();

private:
    TestEnvironment() = default;
};

#endif // HUEFORM_TESTENVIRONMENT_H
