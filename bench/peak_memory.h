/* Resident memory of this process, for measuring what one load costs. */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

/* Forgets the peak so far, so that the next peak_kib() covers what follows. */
void reset_peak_memory(void);
long resident_kib(void);
long peak_kib(void);

#ifdef __cplusplus
}
#endif
