rem x
If a Then
  b
ElseIf c Then d
End If
