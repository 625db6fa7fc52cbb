// Compiled as a file of material/ is: it must not compile, because material/
// does not see the UI part of the layer.
#include "Window.h"
