#include "varnel/app/maindlg.h"
