// Ids and captions the bare window program and the benchmark driver share.
#pragma once

#define IDD_BARE_PROGRESS 100
#define BareShowProgress  1
#define BareShowBox       2

#define BareProgressCaption "Working"
#define BarePaintedCaption  "Painted"
