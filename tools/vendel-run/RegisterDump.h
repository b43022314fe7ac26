// The register listing of vendel-run --print-regs: one "NAME=value" line per register, in a
// fixed order, values in upper-case hexadecimal with the most significant nibble first.
#pragma once

#include <string>

#include "Interpreter.h"
#include "Machine.h"

namespace tavrel::vendelrun {

std::string dumpRegisters(const machine::Machine& m, const machine::StepResult& run);

}  // namespace tavrel::vendelrun
