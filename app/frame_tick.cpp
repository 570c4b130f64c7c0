#include "app/main_loop.h"

void FrameTick() {
    // FIXME: the sound colours, the selection's motion and automatic cycling join here.
}
