Dim StawkaObnizona = 8

Function Netto(brutto As Decimal) As Decimal
  Return brutto / 1.23
End Function
