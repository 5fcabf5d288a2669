#include "runtime/qt/qt_runtime.h"
#include "runtime/runtime.h"
#include "title/form2.h"

#include <QApplication>

// The game starts on the title window; no other window is loaded.
int main(int argc, char** argv)
{
    rtqt::preparePlatform();
    QApplication app(argc, argv);
    rt::Runtime runtime;
    rtqt::QtRuntime windows(runtime);
    runtime.dispatch([&runtime] { runtime.form<title::Form2>().Show(); });
    return QApplication::exec();
}
