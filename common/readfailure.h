#pragma once

#include "common/failure.h"

// A page or text did not hold what a reader needs. Readers throw it and
// commands decide: most end quietly and leave their files as they were.
class ReadFailure : public Failure
{
public:
    using Failure::Failure;
};
