#include "report/print/pagesource.h"
