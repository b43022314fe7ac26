// What loading a folio asks of its host: picking one of several folios and showing errors.
// The exporter's dialogs implement these with windows; the command line implements them
// with arguments and the standard error stream.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavrel::statexport {

class IFolioChooser {
 public:
  virtual ~IFolioChooser() = default;
  // Offered the titles of the folios found, in the order found; returns the index of the
  // one to take (out-of-range indexes are clamped), or nothing to cancel.
  virtual std::optional<int> chooseFolio(const std::vector<std::string>& titles) = 0;
};

class IErrorReporter {
 public:
  virtual ~IErrorReporter() = default;
  // A failure the user must acknowledge (a message box titled "Error" with an OK button).
  virtual void reportError(const std::string& message) = 0;
};

// Chooses without asking: the folio with the wanted title, or the first one found when no
// title is wanted. A wanted title that is not offered cancels, and is remembered.
class TitleFolioChooser final : public IFolioChooser {
 public:
  explicit TitleFolioChooser(std::optional<std::string> wantedTitle = std::nullopt)
      : wantedTitle_(std::move(wantedTitle)) {}

  std::optional<int> chooseFolio(const std::vector<std::string>& titles) override;

  // True after a choice in which the wanted title was not among the titles offered.
  bool missedWantedTitle() const { return missed_; }
  const std::vector<std::string>& offeredTitles() const { return offered_; }

 private:
  std::optional<std::string> wantedTitle_;
  std::vector<std::string> offered_;
  bool missed_ = false;
};

}  // namespace tavrel::statexport
