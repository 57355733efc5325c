// "Zeit setzen" and the once-a-minute re-apply.
#include "app/frmTime.h"

void FrmTime::cmdZeitSetzen_Click() {
    // Setting the clock comes with its own change.
}

void FrmTime::Timer1_Timer() {
}
