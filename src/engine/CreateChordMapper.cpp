#include "corvendi/ChordMapper.h"

namespace corvendi {

// Until a chord vocabulary ships, a score gets the empty chord mapper.
std::shared_ptr<ChordMapper> CreateChordMapper() { return std::make_shared<ChordMapper>(); }

}  // namespace corvendi
