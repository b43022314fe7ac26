// Runs one bench loop for a fixed number of steps, for instruction counting under
// valgrind --tool=callgrind --toggle-collect='tavrel::machine::stepMachine*'.
// usage: machine_step_probe PROGRAM STEPS
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchPrograms.h"
#include "Interpreter.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: machine_step_probe alu|memory|mixed|runstream STEPS\n");
    return 2;
  }
  for (const auto& program : tavrel::bench::benchPrograms()) {
    if (program.name != argv[1])
      continue;
    auto prepared = tavrel::bench::prepare(program);
    const auto result =
        tavrel::machine::stepMachine(*prepared->machine, std::strtoull(argv[2], nullptr, 10));
    std::printf("%s: %llu steps\n", argv[1], static_cast<unsigned long long>(result.executed));
    return 0;
  }
  std::fprintf(stderr, "unknown program %s\n", argv[1]);
  return 2;
}
