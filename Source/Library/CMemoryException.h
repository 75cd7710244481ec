// CMemoryException: thrown when a heap allocation of the toolkit fails.
#pragma once

#include "Library/CException.h"

class CMemoryException : public CException {};
