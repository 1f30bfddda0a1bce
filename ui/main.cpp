#include <QApplication>

#include "form1.h"
#include "forms_runtime.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    ui::Form1 form;
    ui::FormsRuntime runtime(form);
    QObject::connect(&form, &ui::Form1::closed, &app, &QCoreApplication::quit);

    runtime.load();
    form.show();
    return QApplication::exec();
}
