// Pecunette — apprendre à remplir un chèque.
#include "pictures.h"

#include <QtGlobal>

// Q_INIT_RESOURCE cannot stand in a namespace.
static void initPictures() { Q_INIT_RESOURCE(resources); }

void registerPictures()
{
    static const bool done = [] {
        initPictures();
        return true;
    }();
    Q_UNUSED(done);
}
