// Resource identifiers of QorLib01.
#ifndef PASSIVE_LIB_RESOURCE_H
#define PASSIVE_LIB_RESOURCE_H

#define IDS_PROJNAME 100

#endif
