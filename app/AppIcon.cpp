#include "AppIcon.h"

#include <QDirIterator>
#include <QIcon>

// Renderings of app/uego4100.svg at several sizes, made at build time (app/CMakeLists.txt).
QIcon ApplicationIcon() {
    QIcon icon;
    QDirIterator files(":/icons/uego4100", {"*.png"}, QDir::Files);
    while (files.hasNext()) {
        icon.addFile(files.next());
    }
    return icon;
}
