#pragma once
// kortool edit: a scene opened as a document, changed by the application's commands in order, then saved.
//   edit SCENE [-o OUT] OPERATION...
// Operations: add IMAGE@X,Y | select NAME [--top] | delete | background IMAGE | undo | redo | command CLASSNAME.
// Each step is printed with the document's modified state. A step that fails raises std::runtime_error before
// anything is saved; a command line it does not understand raises std::invalid_argument.

#include <ostream>
#include <string>
#include <vector>

int EditCommand(const std::vector<std::string>& args, std::ostream& out);
