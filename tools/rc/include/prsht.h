// zyn-rc's prsht.h: the standard property-page sizes in dialog units, at their documented
// values, for scripts that size their pages by them.
#ifndef ZYN_RC_PRSHT_H
#define ZYN_RC_PRSHT_H

#define PROP_SM_CXDLG   212
#define PROP_SM_CYDLG   188
#define PROP_MED_CXDLG  227
#define PROP_MED_CYDLG  215
#define PROP_LG_CXDLG   252
#define PROP_LG_CYDLG   218

#define MAXPROPPAGES    100

#endif
