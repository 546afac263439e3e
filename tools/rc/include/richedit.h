// zyn-rc's richedit.h: the rich edit controls' class names and their styles beyond the
// edit control's, at their documented values.
#ifndef ZYN_RC_RICHEDIT_H
#define ZYN_RC_RICHEDIT_H

#define RICHEDIT_CLASS10A   "RICHEDIT"
#define RICHEDIT_CLASSA     "RichEdit20A"
#define RICHEDIT_CLASSW     "RichEdit20W"
#ifdef UNICODE
#define RICHEDIT_CLASS      RICHEDIT_CLASSW
#else
#define RICHEDIT_CLASS      RICHEDIT_CLASSA
#endif
#define MSFTEDIT_CLASS      "RICHEDIT50W"

#define ES_NOOLEDRAGDROP    0x00000008
#define ES_DISABLENOSCROLL  0x00002000
#define ES_SUNKEN           0x00004000
#define ES_SAVESEL          0x00008000
#define ES_SELFIME          0x00040000
#define ES_NOIME            0x00080000
#define ES_VERTICAL         0x00400000
#define ES_SELECTIONBAR     0x01000000

#endif
