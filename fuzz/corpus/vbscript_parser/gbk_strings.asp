<% s = "ÖÐÎÄ" : []] = 1 : t = s & "¡¡" %>
<% With Response
 .Write s _
   & t
End With %>