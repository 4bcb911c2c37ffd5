// Resource identifiers of QorLib02.
#ifndef SEMI_LIB_RESOURCE_H
#define SEMI_LIB_RESOURCE_H

#define IDS_PROJNAME 100

#endif
