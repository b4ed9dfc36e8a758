// The commands of tavik-cli. Each takes the arguments after its name and returns the
// exit status: 0 success, 1 failure (one line on stderr), 2 bad usage.
#pragma once

#include <string>
#include <vector>

namespace tavik::cli {

using Args = std::vector<std::string>;

int Info(const Args& args);
int Sort(const Args& args);
int Retrieve(const Args& args);
int MakeFieldData(const Args& args);
int ReciprocalAveraging(const Args& args);
int Constancy(const Args& args);
int Export(const Args& args);
int Print(const Args& args);
int Fidelity(const Args& args);
int Classify(const Args& args);
int Groups(const Args& args);

// The arguments the process was started with, as main got them (for handing a command over).
void SetProgramArguments(char** argv);
char** ProgramArguments();

// Thrown for bad usage; main prints it with the usage text and exits 2.
struct UsageError {
    std::string message;
};

}  // namespace tavik::cli
