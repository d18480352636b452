#pragma once

namespace preferences {

class Domain;
class Preferences;

} // namespace preferences
