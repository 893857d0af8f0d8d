// Tovren: a desktop address book.
//   tovren [--home DIR]
// DIR (or the environment variable TOVREN_HOME) is the folder that holds the
// address book, Address.ini and the logs; by default the program's own
// folder, or the person's own folders (core/program_folders.h).

#include "run.h"

int main(int argc, char** argv)
{
    return tovren::run(argc, argv);
}
