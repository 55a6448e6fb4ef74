/* Resource numbers shared by the core (pictures of controls) and the resource
   script. Plain #defines so the resource compiler can read this file too. */
#ifndef TARNBY_RESOURCE_IDS_H
#define TARNBY_RESOURCE_IDS_H

#define IDI_TARNBY 1

/* One picture per quick action's tray box; the pre-select buttons reuse them. */
#define IDI_DOS 101
#define IDI_PROGRAM 102
#define IDI_SCREEN 103
#define IDI_SLEEP 104
#define IDI_WIN 105
#define IDI_RESTART 106
#define IDI_LOG 107
#define IDI_SHUT 108

/* Alarm switch (on, off), the clock between Start and Pause, the wave button. */
#define IDI_ALARM_ON 201
#define IDI_ALARM_OFF 202
#define IDI_CLOCK 203
#define IDI_WAV 204

#define IDR_MANIFEST 1

#endif
