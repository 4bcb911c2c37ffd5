// Resource identifiers of QorSim.
#ifndef CIRCUIT_SIM_RESOURCE_H
#define CIRCUIT_SIM_RESOURCE_H

#define IDS_PROJNAME 100

#endif
