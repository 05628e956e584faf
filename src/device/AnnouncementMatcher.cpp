#include "device/AnnouncementMatcher.h"

bool AnnouncementMatcher::Feed(uint8_t byte) {
  switch (byte) {
    case 'm':
      m_state = 2;
      return false;
    case 'a':
      m_state = m_state == 2 ? 3 : 1;
      return false;
    case 'i':
      m_state = m_state == 3 ? 4 : 1;
      return false;
    case 'n':
      if (m_state == 4) return true;
      m_state = 1;
      return false;
    default:
      m_state = 1;
      return false;
  }
}
