// Template streaming of components: loading, saving and copying through the serializer.

#include "report/frxXMLSerializer.h"

void TfrxComponent::LoadFromStream(TStream& stream) {
  Clear();
  TfrxXMLSerializer serializer(&stream);
  TfrxComponent* report = OwningReport();
  serializer.RootOwner = report ? report : this;
  serializer.LoadRoot(this);
  if (report) report->AppendErrors(serializer.ErrorTexts());
}

void TfrxComponent::SaveToStream(TStream& stream, bool saveChildren, bool saveAsClassName, bool saveDefaultValues) {
  TfrxXMLSerializer serializer(&stream);
  TfrxComponent* report = OwningReport();
  serializer.RootOwner = report ? report : this;
  serializer.WriteDefaults = saveDefaultValues;
  serializer.SaveRoot(this, saveChildren, saveAsClassName);
}

void TfrxComponent::Assign(TfrxComponent& source) {
  TMemoryStream copy;
  source.SaveToStream(copy, false, true, true);
  copy.SetPosition(0);
  LoadFromStream(copy);
}

void TfrxComponent::CopyWithChildren(TfrxComponent& source, bool saveAsClassName) {
  TMemoryStream copy;
  source.SaveToStream(copy, true, saveAsClassName, true);
  copy.SetPosition(0);
  LoadFromStream(copy);
}
