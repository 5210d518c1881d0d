// Executing a job: the step the timer cycle takes when processing is not paused.
#include "app/Unit_main.h"

void Tfrm_main::ExecuteFirstJob() {
  if (!FirstJob()) return;
  // Loading the template and data, preparing the report and its output action are not
  // part of this program yet: the entry stays first in the queue, its data file kept,
  // until they are.
}
