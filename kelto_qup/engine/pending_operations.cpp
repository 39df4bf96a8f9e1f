// Operations that the run context declares and whose home family is not
// written yet. Each stops the run with a box naming the missing operation,
// so a job that reaches one ends with a clear error instead of wrong output.
// Whoever writes the real operation deletes its placeholder here.
#include "kelto_qup/engine/run_context.h"

namespace qup {

}  // namespace qup
