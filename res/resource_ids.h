/* Numeric IDs of the program's resources, shared by phasebox.rc (windres)
   and the C++ code. The icon is not here: it is named "MAINICON". */
#ifndef PHASEBOX_RESOURCE_IDS_H
#define PHASEBOX_RESOURCE_IDS_H

/* Arrow picture (PNG with alpha), stored as RCDATA. */
#define IDR_ARROW_PNG 101

/* Cursor shown over the tick slider's thumb. */
#define IDC_THUMB 201

#endif
