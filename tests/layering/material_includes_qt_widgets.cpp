// Compiled as a file of material/ is: it must not compile, because material/
// does not see Qt.
#include <QWidget>
