#pragma once
// Start mode 22: every NC program of the transfer list "$TXD.@@@" goes to the
// machine, each after a question, over the serial port (the NC text check
// feeds it line by line) or to the network drive. A file that was not sent
// whole is said so in the list and the title; it is never reported as sent.
#include "kelto_qup/engine/run_context.h"

namespace qup::shell {

// The files sent whole, or -1 when the list could not be read.
int DncSendAll(RunContext& run);

}  // namespace qup::shell
