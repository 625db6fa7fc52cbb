#pragma once

class QApplication;

// The test program's QApplication on Qt's offscreen platform (unless
// QT_QPA_PLATFORM names another), made on the first call and kept until the
// tests end. It also installs a script-less ScriptedDialogs as the
// responder of last resort: a dialog that no test scripted fails the test.
QApplication& offscreenApplication();
