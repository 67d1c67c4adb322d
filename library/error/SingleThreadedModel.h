#pragma once

namespace Error
{
// Threading policy of the log: no locks anywhere.
struct SingleThreadedModel
{
};
} // namespace Error
