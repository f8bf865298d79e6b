#pragma once
// kortool run as a person runs it, from the tests: the real program, its exit status and what it prints.

#include "Support/FileContents.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/wait.h>

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

inline Outcome kortool(const std::string& arguments) {
    const std::string command = std::string(KORTOOL) + " " + arguments + " >out.txt 2>err.txt";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile("out.txt"), readFile("err.txt")};
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Fails unless kortool exits with `status` and says `message` (and nothing that looks like a crash).
inline void expectRefusal(const std::string& arguments, int status, const std::string& message) {
    const Outcome outcome = kortool(arguments);
    EXPECT_EQ(outcome.status, status) << arguments;
    EXPECT_EQ(outcome.err.rfind("kortool: " + message, 0), 0u) << arguments << "\n" << outcome.err;
}
