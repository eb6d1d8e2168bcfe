#include "platform/dialogs.h"
#include "ui/frm_main.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tessra::QtDialogs dialogs;
    tessra::frmMain window(dialogs);
    window.show();
    return app.exec();
}
