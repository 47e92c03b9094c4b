#pragma once
// Who may change a folder: its access list, as the system keeps it. The
// Win32 implementation reads it with the security API; tests use lists of
// their own.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One entry of a folder's access list.
struct AccessEntry {
  // Everyone, Users and Authenticated Users take in every account of the
  // machine; Other is any other account or group.
  enum class Trustee { Everyone, Users, AuthenticatedUsers, Other };
  bool allows = true;        // false: the entry denies its rights
  Trustee trustee = Trustee::Other;
  uint32_t rights = 0;       // the access mask, as Windows writes it
  bool inheritOnly = false;  // for what is made inside the folder, not the folder
};

class IFolderRights {
 public:
  virtual ~IFolderRights() = default;
  // The folder's access list in the system's order; nothing when it cannot
  // be read. A folder without any list (which lets everyone do everything)
  // comes back as one entry granting Everyone every right.
  virtual std::optional<std::vector<AccessEntry>> AccessList(const std::string& folder) const = 0;
};
