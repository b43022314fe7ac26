// Running the emulated machine in time: the main task, the interpreter task and the pause,
// resume and stop protocol that commands and state files use.
#pragma once

#include <mutex>
#include <string>

namespace tavrel::machine {
struct Machine;
}
namespace tavrel::timing {
class TimerService;
}

namespace tavrel::core {

class CoreCommandLink;

// Ends the interpreter task and parks the main task; the machine may then be read and
// written. Nothing happens when emulation is already paused.
void pauseEmulation();
// Starts a new interpreter task and releases the main task. Nothing happens when running.
void resumeEmulation();
// Pauses, tells the main task to quit and ends every core task.
void stopMachine();
// Clears bootedEvent and starts emulatorMainTask, which creates the machine from romPath();
// false (with a message) when no task slot is left, and then bootedEvent never comes.
bool startMainTask();
// Waits without limit until the main task has booted the machine.
void waitBooted();

// Held by pauseEmulation and resumeEmulation; readState holds it around its work.
std::mutex& emulationLock();
// The machine of the running core; null before the first boot.
machine::Machine* currentMachine();
// The core's timer service; null outside import..closeLibrary.
timing::TimerService* timerService();

const std::u16string& skinName();
const std::u16string& romPath();
void setSkinName(std::u16string name);
// Replaces the ROM path under the per-process lock.
void setRomPath(std::u16string path);

// The command service as import found it.
CoreCommandLink& commandLink();

}  // namespace tavrel::core
