#pragma once
// kortool archive: lists, extracts, stores, removes, packs and checks the items of a resource archive. Each
// command returns the exit status; a command line it does not understand raises std::invalid_argument, and a
// file that cannot be used std::runtime_error (or a core exception), each with a message naming what is wrong.

#include <ostream>
#include <string>
#include <vector>

// `args`: the words after "archive".
int ArchiveCommand(const std::vector<std::string>& args, std::ostream& out);
