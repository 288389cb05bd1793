#pragma once
// Milliseconds of the performance counter: for spacing and timing below the tick count's
// steps (16 ms under Wine).
double MonotonicMs();
