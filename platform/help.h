#pragma once
// The program's help: one HTML file whose topics are anchors ("topic2",
// "topic23", ...), shown in a help window that stays open beside the program.

#include <QString>

class QWidget;

namespace platform {

void setHelpFile(const QString& path);
QString helpFile();

// Shows the help window at `topic` (0: the beginning). Returns false when no
// help file is set or it does not exist, after telling the user so.
bool showHelp(int topic = 0);

// The help window, if it has been opened (for tests).
QWidget* helpWindow();

} // namespace platform
